// TScrollBar: being written.
