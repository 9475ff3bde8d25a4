// Compiles the precompiled header that the GUI tests share; it has no tests of its own.
