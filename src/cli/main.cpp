// zierbogen: the headless program (info, textures, render, export).
#include <QCoreApplication>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("zierbogen %s\n", ZB_VERSION);
        return 0;
    }
    std::fprintf(stderr, "Aufruf: zierbogen --version\n");
    return 2;
}
