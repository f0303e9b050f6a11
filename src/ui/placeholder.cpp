// Keeps the ui library non-empty while it has no other source.
