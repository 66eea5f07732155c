// Writes the program's icon pictures (the logo the windows draw) at the sizes Windows asks an exe
// for, as PAM files (RGBA) for scripts/make-icon.sh to pack into src/app/velmora.ico.
//   make-icon <folder>
#include "ui/pictures.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    using namespace velmora::ui::pictures;
    for (int size : {16, 20, 24, 32, 40, 48, 64, 256}) {
        Image image = Draw(Picture::Logo, size);
        std::string path = std::string(argv[1]) + "/logo-" + std::to_string(size) + ".pam";
        FILE* file = std::fopen(path.c_str(), "wb");
        if (!file)
            return 1;
        std::fprintf(file, "P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n", size, size);
        for (uint32_t pixel : image.pixels) {
            uint32_t straight = Unpremultiply(pixel);
            unsigned char rgba[4] = {static_cast<unsigned char>(straight >> 16), static_cast<unsigned char>(straight >> 8),
                                     static_cast<unsigned char>(straight), static_cast<unsigned char>(straight >> 24)};
            std::fwrite(rgba, 1, 4, file);
        }
        std::fclose(file);
    }
    return 0;
}
