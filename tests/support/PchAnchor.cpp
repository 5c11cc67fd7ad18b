// Nothing: the libraries of this file exist to hold the suites' shared precompiled headers.
