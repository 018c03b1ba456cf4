// The yardstick of the self-test's start: a Windows program that does nothing.
int wmain() { return 0; }
