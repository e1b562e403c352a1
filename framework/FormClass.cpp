// FormClass: being written.
