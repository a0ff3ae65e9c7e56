// Includes the one header named on the command line, and nothing else.
#include HEADER
