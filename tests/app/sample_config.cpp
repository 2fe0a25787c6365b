// The sample configuration of the config tests, shared with these tests.
#include "config/sample_config.cpp"
