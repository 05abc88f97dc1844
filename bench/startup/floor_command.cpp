// The floor of the command-line start-up benchmark: the least a C++ program
// does between being started and ending.
int main() {}
