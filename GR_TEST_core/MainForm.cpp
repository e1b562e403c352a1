// MainForm: being written.
