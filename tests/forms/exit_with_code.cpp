// Ends with the exit code given as its only argument, so that a test can
// tell a started program's exit code from a failed start.
#include <cstdlib>

int main(int argc, char** argv) {
    return argc > 1 ? std::atoi(argv[1]) : 0;
}
