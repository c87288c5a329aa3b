// Behaves like `korvex convert FILE -` gone wrong, as the first word of FILE says: "crash" dies
// of a segmentation fault, "hang" never finishes, "fail" reports a reason and exits 1, "garbage"
// prints something that is not a Korvex stream.
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc != 4 || std::strcmp(argv[1], "convert") != 0 || std::strcmp(argv[3], "-") != 0) return 2;
    char word[16] = {};
    if (FILE* f = std::fopen(argv[2], "rb")) {
        if (std::fscanf(f, "%15s", word) != 1) word[0] = '\0';
        std::fclose(f);
    }
    if (std::strcmp(word, "crash") == 0) {
        // The default action, even in a sanitizer build, whose handler would turn it into an exit.
        signal(SIGSEGV, SIG_DFL);
        raise(SIGSEGV);
    }
    if (std::strcmp(word, "hang") == 0) {
        for (;;)
            pause();
    }
    if (std::strcmp(word, "garbage") == 0) {
        std::fputs("hello", stdout);
        return 0;
    }
    std::fprintf(stderr, "korvex: %s: the reader refused it\n", argv[2]);
    return 1;
}
