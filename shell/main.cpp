// main.cpp: the show's program entry (placeholder until the shell lands).
int main() { return 0; }
