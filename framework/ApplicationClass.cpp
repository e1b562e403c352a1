// ApplicationClass: being written.
