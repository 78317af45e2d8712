// A tiny program that carries resources; the tests read its version record
// from the file.
int main() { return 0; }
