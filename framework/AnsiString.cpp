// AnsiString: being written.
