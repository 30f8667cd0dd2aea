// Replaced as this library is built.
