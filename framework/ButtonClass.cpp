// ButtonClass: being written.
