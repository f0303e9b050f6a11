// Keeps the doc library non-empty while it has no other source.
