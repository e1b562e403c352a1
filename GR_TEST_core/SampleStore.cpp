// SampleStore: being written.
