#include "linux/hack_options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

const char kHackUsage[] =
    "usage: quillfrost [--root | --window-id ID] [--quantity 0..100] [--speed 0..100]\n"
    "                  [--fractal-wind | --no-fractal-wind] [--delay MICROSECONDS] [--fps]\n"
    "                  [--display NAME] [--geometry WxH+X+Y] [--visual ID-OR-CLASS]\n"
    "                  [--install] [--version] [--help]";

namespace {

// A whole number of digits in the given base, no sign, no spaces.
bool ParseUnsigned(const char* text, int base, unsigned long long limit,
                   unsigned long long& value) {
    if (text == nullptr || *text == '\0') {
        return false;
    }
    for (const char* c = text; *c != '\0'; ++c) {
        const bool digit = (*c >= '0' && *c <= '9') ||
                           (base == 16 && ((*c >= 'a' && *c <= 'f') || (*c >= 'A' && *c <= 'F')));
        if (!digit) {
            return false;
        }
    }
    errno = 0;
    char* end = nullptr;
    const unsigned long long parsed = std::strtoull(text, &end, base);
    if (errno != 0 || end == nullptr || *end != '\0' || parsed > limit) {
        return false;
    }
    value = parsed;
    return true;
}

// "--name" or "-name" as "name"; null when the argument is no option.
const char* OptionName(const char* arg) {
    if (arg[0] != '-') {
        return nullptr;
    }
    return arg[1] == '-' ? arg + 2 : arg + 1;
}

// What -visual names: a visual id, a class or one of the framework's words.
bool IsVisualName(const char* text) {
    static const char* const kNames[] = {"default",     "best",       "mono",       "monochrome",
                                         "gray",        "grey",       "color",      "colour",
                                         "gl",          "StaticGray", "GrayScale",  "StaticColor",
                                         "PseudoColor", "TrueColor",  "DirectColor"};
    for (const char* name : kNames) {
        if (strcasecmp(text, name) == 0) {
            return true;
        }
    }
    unsigned long id = 0;
    return ParseWindowId(text, id);
}

// A geometry as X writes it, with a size, if any, that a window can have.
bool ParseGeometry(const char* text, HackGeometry& geometry) {
    int x = 0;
    int y = 0;
    unsigned width = 0;
    unsigned height = 0;
    const int mask = XParseGeometry(text, &x, &y, &width, &height);
    const int size = mask & (WidthValue | HeightValue);
    const int place = mask & (XValue | YValue);
    if (mask == 0 || (size != 0 && size != (WidthValue | HeightValue)) ||
        (size != 0 && (width == 0 || height == 0 || width > 32767 || height > 32767)) ||
        (place != 0 && place != (XValue | YValue)) || x < -32768 || x > 32767 || y < -32768 ||
        y > 32767) {
        return false;
    }
    geometry = HackGeometry{mask, x, y, width, height};
    return true;
}

} // namespace

bool ParseWindowId(const char* text, unsigned long& id) {
    unsigned long long value = 0;
    const bool ok = text != nullptr && (text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
                        ? ParseUnsigned(text + 2, 16, 0xFFFFFFFFull, value)
                        : ParseUnsigned(text, 10, 0xFFFFFFFFull, value);
    if (ok) {
        id = static_cast<unsigned long>(value);
    }
    return ok;
}

bool ParseHackOptions(int argc, const char* const* argv, HackOptions& options, std::string& error) {
    options = HackOptions{HackTarget::Own, 0, 50, 50, 1, 10000, false, false, false, nullptr, {}};
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const char* name = OptionName(arg);
        if (name == nullptr || *name == '\0') {
            error = std::string("unexpected argument '") + arg + "'";
            return false;
        }
        if (std::strcmp(name, "root") == 0) {
            options.target = HackTarget::Root;
        } else if (std::strcmp(name, "fractal-wind") == 0) {
            options.fractalWind = 1;
        } else if (std::strcmp(name, "no-fractal-wind") == 0) {
            options.fractalWind = 0;
        } else if (std::strcmp(name, "fps") == 0) {
            options.fps = true;
        } else if (std::strcmp(name, "help") == 0 || std::strcmp(name, "h") == 0) {
            options.help = true;
        } else if (std::strcmp(name, "version") == 0) {
            options.version = true;
        } else if (std::strcmp(name, "install") == 0) {
            // Every colormap the hack uses is one it makes itself.
        } else if (std::strcmp(name, "window-id") == 0 || std::strcmp(name, "quantity") == 0 ||
                   std::strcmp(name, "speed") == 0 || std::strcmp(name, "delay") == 0 ||
                   std::strcmp(name, "display") == 0 || std::strcmp(name, "geometry") == 0 ||
                   std::strcmp(name, "visual") == 0) {
            const char* value = i + 1 < argc ? argv[++i] : nullptr;
            if (value == nullptr) {
                error = std::string("missing value for ") + arg;
                return false;
            }
            unsigned long long number = 0;
            bool ok = false;
            if (std::strcmp(name, "window-id") == 0) {
                unsigned long id = 0;
                ok = ParseWindowId(value, id);
                options.target = HackTarget::WindowId;
                options.windowId = id;
            } else if (std::strcmp(name, "display") == 0) {
                ok = *value != '\0';
                options.displayName = value;
            } else if (std::strcmp(name, "geometry") == 0) {
                ok = ParseGeometry(value, options.geometry);
            } else if (std::strcmp(name, "visual") == 0) {
                ok = IsVisualName(value);
            } else if (std::strcmp(name, "delay") == 0) {
                ok = ParseUnsigned(value, 10, 10000000ull, number);
                options.delayMicroseconds = static_cast<uint32_t>(number);
            } else {
                ok = ParseUnsigned(value, 10, 100ull, number);
                (name[0] == 'q' ? options.quantityPercent : options.speedPercent) =
                    static_cast<uint32_t>(number);
            }
            if (!ok) {
                error = std::string("bad value for ") + arg + ": '" + value + "'";
                return false;
            }
        } else {
            error = std::string("unknown option ") + arg;
            return false;
        }
    }
    return true;
}
