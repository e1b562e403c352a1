// AudioSink: being written.
