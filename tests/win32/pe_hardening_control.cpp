// Built twice, with the hardening flags and without, and never run: a local array the stack protector guards
// and a copy fortify checks, so that the evidence of both shows in the one file and not in the other.
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    char copy[32];
    std::strcpy(copy, argc > 0 ? argv[0] : "");
    std::puts(copy);
    return 0;
}
