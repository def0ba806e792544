// Writes the program's own textures into a folder. Replaced by the real generator.
#include <QDir>
int main(int argc, char** argv) {
    if (argc < 2) return 2;
    return QDir().mkpath(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
