// Unpacks the program's PNG pictures into pixel arrays compiled into the program, so that the
// window shows them without reading an image file at start-up:
//   termix-pack-pictures OUTPUT.cpp NAME=PICTURE.png...
// Each picture becomes premultiplied 32-bit ARGB pixels, row by row, written as numbers (so
// that they are right in either byte order), under its NAME.
#include <QImage>
#include <QString>
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: termix-pack-pictures OUTPUT.cpp NAME=PICTURE.png...\n");
        return 2;
    }
    std::string out =
        "// Made by termix-pack-pictures from resources/images at build time: do not edit.\n"
        "#include \"controls/PackedPictures.h\"\n\nnamespace {\n";
    std::string table = "}  // namespace\n\nconst PackedPicture kPackedPictures[] = {\n";
    for (int i = 2; i < argc; ++i) {
        const std::string argument = argv[i];
        const size_t equals = argument.find('=');
        if (equals == std::string::npos) {
            std::fprintf(stderr, "termix-pack-pictures: %s is not NAME=PICTURE.png\n", argv[i]);
            return 2;
        }
        const std::string name = argument.substr(0, equals);
        const QString file = QString::fromLocal8Bit(argument.substr(equals + 1).c_str());
        const QImage image =
            QImage(file, "png").convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (image.isNull()) {
            std::fprintf(stderr, "termix-pack-pictures: cannot read %s\n", argv[i]);
            return 1;
        }
        const std::string array = "kPixels" + std::to_string(i - 2);
        out += "const uint32_t " + array + "[] = {";
        char word[16];
        for (int y = 0; y < image.height(); ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                std::snprintf(word, sizeof word, "%s0x%08x,", x % 8 == 0 ? "\n" : "",
                              static_cast<unsigned>(row[x]));
                out += word;
            }
        }
        out += "};\n";
        table += "    {\"" + name + "\", " + std::to_string(image.width()) + ", " +
                 std::to_string(image.height()) + ", " + array + "},\n";
    }
    out += table + "};\nconst size_t kPackedPictureCount = " + std::to_string(argc - 2) + ";\n";
    std::FILE* file = std::fopen(argv[1], "wb");
    if (file == nullptr || std::fwrite(out.data(), 1, out.size(), file) != out.size() ||
        std::fclose(file) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
