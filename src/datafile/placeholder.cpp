// Keeps the datafile library non-empty while it has no other source.
