// AudioClass: being written.
