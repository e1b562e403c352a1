// MessageBoxCapture: being written.
