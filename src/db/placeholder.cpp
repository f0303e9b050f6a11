// Keeps the db library non-empty while it has no other source.
