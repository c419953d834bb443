// kestrune-webdata RUN_DIR PACKAGE_DIR: the web package's content from the desktop run
// folder. Textures are recompressed for the download (colour maps as JPEG, normal maps
// and anything with transparency as PNG, losslessly) under their own names: the web's
// decoder reads the format from the bytes. Models, shaders and camera paths are copied.
// Built and run by scripts/build-web on the host, before the browser build packs it.
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <string>

#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace fs = std::filesystem;

static const int kJpegQuality = 90;

static bool hasTransparency(const unsigned char* pixels, int count, int components) {
    if (components != 2 && components != 4)
        return false;
    for (int i = 0; i < count; i++)
        if (pixels[i * components + components - 1] != 255)
            return true;
    return false;
}

static bool convert(const fs::path& from, const fs::path& to) {
    int width = 0, height = 0, components = 0;
    unsigned char* pixels = stbi_load(from.c_str(), &width, &height, &components, 0);
    if (!pixels) {
        fprintf(stderr, "kestrune-webdata: %s: %s\n", from.c_str(), stbi_failure_reason());
        return false;
    }
    bool normalMap = from.filename().string().rfind("normal_", 0) == 0;
    bool lossless = normalMap || hasTransparency(pixels, width * height, components);
    int written =
        lossless ? stbi_write_png(to.c_str(), width, height, components, pixels, width * components)
                 : stbi_write_jpg(to.c_str(), width, height, components, pixels, kJpegQuality);
    stbi_image_free(pixels);
    if (!written)
        fprintf(stderr, "kestrune-webdata: cannot write %s\n", to.c_str());
    return written != 0;
}

// A texture that the generator has since written in another format (the same name with
// another extension, newer) is left over in a run folder built before: it is not shipped.
static bool supersededTexture(const fs::path& file) {
    std::error_code error;
    for (const auto& other : fs::directory_iterator(file.parent_path(), error)) {
        const fs::path& path = other.path();
        if (path != file && path.stem() == file.stem() &&
            fs::last_write_time(path, error) > fs::last_write_time(file, error))
            return true;
    }
    return false;
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: kestrune-webdata RUN_DIR PACKAGE_DIR\n");
        return 2;
    }
    fs::path run = argv[1], package = argv[2];
    std::error_code error;
    for (const char* folder : {"models", "textures", "shader"}) {
        if (!fs::is_directory(run / folder)) {
            fprintf(stderr, "kestrune-webdata: no %s in %s (build the demo first)\n", folder,
                    run.c_str());
            return 1;
        }
    }
    fs::remove_all(package, error);
    fs::create_directories(package / "textures");
    auto copy = fs::copy_options::recursive | fs::copy_options::overwrite_existing;
    fs::copy(run / "models", package / "models", copy);
    fs::copy(run / "shader", package / "shader", copy);
    for (const char* file : {"campath.xml", "campath2.xml"})
        fs::copy(run / file, package / file, copy);
    bool ok = true;
    for (const auto& entry : fs::directory_iterator(run / "textures")) {
        if (!entry.is_regular_file() || supersededTexture(entry.path()))
            continue;
        ok = convert(entry.path(), package / "textures" / entry.path().filename()) && ok;
    }
    return ok ? 0 : 1;
}
