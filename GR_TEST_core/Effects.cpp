// Effects: being written.
