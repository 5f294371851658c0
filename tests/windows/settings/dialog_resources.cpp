#include "windows/settings/dialog_resources.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "resource_ids.h"

namespace {

// Walks the template bytes; every read fails once the data is exhausted.
class Reader {
  public:
    Reader(const BYTE* data, size_t size) : data_(data), size_(size) {}
    bool ok() const { return ok_; }

    template <typename T> T Read() {
        T value{};
        if (!ok_ || size_ - pos_ < sizeof(T)) {
            ok_ = false;
            return value;
        }
        std::memcpy(&value, data_ + pos_, sizeof(T));
        pos_ += sizeof(T);
        return value;
    }

    // A zero-terminated UTF-16 string, narrowed ('?' for anything beyond ASCII).
    std::string ReadText() {
        std::string text;
        for (;;) {
            const auto unit = Read<uint16_t>();
            if (!ok_ || unit == 0) {
                return text;
            }
            text.push_back(unit < 128 ? static_cast<char>(unit) : '?');
        }
    }

    // A name or ordinal field: 0xFFFF then an ordinal, or a string.
    bool ReadNameOrOrdinal(std::string* name, uint16_t* ordinal) {
        if (!ok_ || size_ - pos_ < 2) {
            ok_ = false;
            return false;
        }
        uint16_t first;
        std::memcpy(&first, data_ + pos_, 2);
        if (first == 0xFFFF) {
            pos_ += 2;
            *ordinal = Read<uint16_t>();
            name->clear();
        } else {
            *ordinal = 0;
            *name = ReadText();
        }
        return ok_;
    }

    void Skip(size_t count) {
        if (size_ - pos_ < count) {
            ok_ = false;
            return;
        }
        pos_ += count;
    }

    // Items start on 4-byte boundaries from the start of the template.
    void AlignToDword() { Skip((4 - pos_ % 4) % 4); }

  private:
    const BYTE* data_;
    size_t size_;
    size_t pos_ = 0;
    bool ok_ = true;
};

std::string PredefinedClassName(uint16_t ordinal) {
    switch (ordinal) {
    case 0x80:
        return "button";
    case 0x81:
        return "edit";
    case 0x82:
        return "static";
    case 0x83:
        return "listbox";
    case 0x84:
        return "scrollbar";
    case 0x85:
        return "combobox";
    default:
        return "#" + std::to_string(ordinal);
    }
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

const BYTE* ResourceData(HMODULE module, HRSRC resource, DWORD* size) {
    if (resource == nullptr) {
        return nullptr;
    }
    HGLOBAL loaded = LoadResource(module, resource);
    *size = SizeofResource(module, resource);
    return loaded != nullptr ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR list) {
    reinterpret_cast<std::vector<WORD>*>(list)->push_back(language);
    return TRUE;
}

} // namespace

std::optional<DialogTemplateEx> ParseDialogTemplateEx(const BYTE* data, size_t size) {
    if (data == nullptr) {
        return std::nullopt;
    }
    Reader in(data, size);
    DialogTemplateEx dialog{};
    dialog.version = in.Read<uint16_t>();
    dialog.signature = in.Read<uint16_t>();
    if (!in.ok() || dialog.version != 1 || dialog.signature != 0xFFFF) {
        return std::nullopt;
    }
    dialog.helpId = in.Read<uint32_t>();
    dialog.exStyle = in.Read<uint32_t>();
    dialog.style = in.Read<uint32_t>();
    const auto count = in.Read<uint16_t>();
    dialog.x = in.Read<int16_t>();
    dialog.y = in.Read<int16_t>();
    dialog.cx = in.Read<int16_t>();
    dialog.cy = in.Read<int16_t>();
    std::string name;
    uint16_t ordinal = 0;
    in.ReadNameOrOrdinal(&name, &ordinal);
    dialog.hasMenu = !name.empty() || ordinal != 0;
    in.ReadNameOrOrdinal(&name, &ordinal);
    dialog.hasClass = !name.empty() || ordinal != 0;
    dialog.caption = in.ReadText();
    if (dialog.style & DS_SETFONT) { // DS_SHELLFONT includes it
        dialog.pointSize = in.Read<uint16_t>();
        dialog.weight = in.Read<uint16_t>();
        dialog.italic = in.Read<uint8_t>();
        dialog.charset = in.Read<uint8_t>();
        dialog.typeface = in.ReadText();
    }
    for (uint16_t i = 0; i < count && in.ok(); ++i) {
        in.AlignToDword();
        DialogItem item{};
        item.helpId = in.Read<uint32_t>();
        item.exStyle = in.Read<uint32_t>();
        item.style = in.Read<uint32_t>();
        item.x = in.Read<int16_t>();
        item.y = in.Read<int16_t>();
        item.cx = in.Read<int16_t>();
        item.cy = in.Read<int16_t>();
        item.id = in.Read<uint32_t>();
        in.ReadNameOrOrdinal(&name, &ordinal);
        item.className = ordinal != 0 ? PredefinedClassName(ordinal) : Lower(name);
        in.ReadNameOrOrdinal(&name, &ordinal);
        item.text = ordinal != 0 ? "#" + std::to_string(ordinal) : name;
        item.extraBytes = in.Read<uint16_t>();
        in.Skip(item.extraBytes);
        dialog.items.push_back(item);
    }
    if (!in.ok()) {
        return std::nullopt;
    }
    return dialog;
}

std::optional<DialogTemplateEx> ReadDialogTemplate(HMODULE module, int id) {
    DWORD size = 0;
    const BYTE* data = ResourceData(
        module, FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5) /* RT_DIALOG */),
        &size);
    return ParseDialogTemplateEx(data, size);
}

std::optional<std::string> ReadStringResource(HMODULE module, int id, WORD language) {
    const int block = id / 16 + 1;
    DWORD size = 0;
    const BYTE* data = ResourceData(module,
                                    FindResourceExA(module, MAKEINTRESOURCEA(6) /* RT_STRING */,
                                                    MAKEINTRESOURCEA(block), language),
                                    &size);
    if (data == nullptr) {
        return std::nullopt;
    }
    // A block holds 16 counted UTF-16 strings.
    Reader in(data, size);
    for (int index = 0; index < 16; ++index) {
        const auto length = in.Read<uint16_t>();
        if (!in.ok()) {
            return std::nullopt;
        }
        if (index == id % 16) {
            std::string text;
            for (uint16_t i = 0; i < length; ++i) {
                const auto unit = in.Read<uint16_t>();
                text.push_back(unit < 128 ? static_cast<char>(unit) : '?');
            }
            if (!in.ok() || length == 0) {
                return std::nullopt;
            }
            return text;
        }
        in.Skip(2u * length);
    }
    return std::nullopt;
}

std::vector<WORD> StringBlockLanguages(HMODULE module, int block) {
    std::vector<WORD> languages;
    EnumResourceLanguagesA(module, MAKEINTRESOURCEA(6), MAKEINTRESOURCEA(block), CollectLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    std::sort(languages.begin(), languages.end());
    return languages;
}

void ExpectConfigDialogTemplate(HMODULE module) {
    const auto dialog = ReadDialogTemplate(module, IDD_CONFIG);
    ASSERT_TRUE(dialog.has_value()) << "dialog 2003 is missing or not an extended template";
    EXPECT_EQ(dialog->helpId, 0u);
    EXPECT_EQ(dialog->exStyle, 0u);
    EXPECT_EQ(dialog->style, static_cast<uint32_t>(WS_POPUP | WS_CAPTION | WS_SYSMENU |
                                                   DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS));
    EXPECT_EQ(dialog->x, 0);
    EXPECT_EQ(dialog->y, 0);
    EXPECT_EQ(dialog->cx, 169);
    EXPECT_EQ(dialog->cy, 194);
    EXPECT_FALSE(dialog->hasMenu);
    EXPECT_FALSE(dialog->hasClass);
    EXPECT_EQ(dialog->caption, "Palewisp Setup");
    EXPECT_EQ(dialog->typeface, "MS Shell Dlg");
    EXPECT_EQ(dialog->pointSize, 8);
    EXPECT_EQ(dialog->weight, 400);
    EXPECT_EQ(dialog->italic, 0);
    EXPECT_EQ(dialog->charset, DEFAULT_CHARSET);

    constexpr uint32_t kChild = WS_CHILD | WS_VISIBLE;
    constexpr uint32_t kNoId = 0xFFFFFFFFu;
    const struct {
        uint32_t id;
        const char* className;
        const char* text;
        uint32_t style;
        uint32_t exStyle;
        int16_t x, y, cx, cy;
    } expected[] = {
        {IDOK, "button", "OK", kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 50, 173, 50, 14},
        {IDCANCEL, "button", "Cancel", kChild | BS_PUSHBUTTON | WS_TABSTOP, 0, 112, 173, 50, 14},
        {IDC_QUANTITY, "msctls_trackbar32", "", kChild | TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP,
         WS_EX_TRANSPARENT, 50, 58, 100, 20},
        {kNoId, "static", "Vedoverizud 1.0.2b1", kChild | SS_LEFT | WS_GROUP, 0, 42, 15, 86, 8},
        {kNoId, "static", "support@nubrisk.example", kChild | SS_CENTER | WS_GROUP, 0, 27, 24, 116,
         8},
        {IDC_PARTICLES_LABEL, "static", "Particles:", kChild | SS_LEFT | WS_GROUP, 0, 20, 62, 30,
         8},
        {IDC_FEW, "static", "Few", kChild | SS_LEFTNOWORDWRAP | WS_GROUP, 0, 52, 50, 15, 10},
        {IDC_MANY, "static", "Many", kChild | SS_LEFTNOWORDWRAP | WS_GROUP, 0, 132, 50, 18, 10},
        {IDC_SPEED, "msctls_trackbar32", "", kChild | TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP,
         WS_EX_TRANSPARENT, 50, 92, 100, 20},
        {IDC_WIND_LABEL, "static", "Wind:", kChild | SS_LEFT | WS_GROUP, 0, 30, 95, 20, 8},
        {IDC_SLOW, "static", "Slow", kChild | SS_CENTER | WS_GROUP, 0, 52, 84, 15, 10},
        {IDC_FAST, "static", "Fast", kChild | SS_CENTER | WS_GROUP, 0, 132, 84, 18, 10},
        {IDC_RESET, "button", "Reset", kChild | BS_PUSHBUTTON | WS_TABSTOP, 0, 59, 136, 50, 14},
        {IDC_FRACTAL_WIND, "button", "Fractal Wind", kChild | BS_AUTOCHECKBOX | WS_TABSTOP, 0, 55,
         119, 56, 10},
    };
    ASSERT_EQ(dialog->items.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        const DialogItem& item = dialog->items[i];
        const auto& want = expected[i];
        SCOPED_TRACE("control " + std::to_string(i + 1) + " \"" + want.text + "\"");
        EXPECT_EQ(item.id, want.id);
        EXPECT_EQ(item.className, want.className);
        EXPECT_EQ(item.text, want.text);
        EXPECT_EQ(item.style, want.style);
        EXPECT_EQ(item.exStyle, want.exStyle);
        EXPECT_EQ(item.x, want.x);
        EXPECT_EQ(item.y, want.y);
        EXPECT_EQ(item.cx, want.cx);
        EXPECT_EQ(item.cy, want.cy);
        EXPECT_EQ(item.helpId, 0u);
        EXPECT_EQ(item.extraBytes, 0);
    }
}

void ExpectDescriptionStrings(HMODULE module) {
    const WORD neutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_SYS_DEFAULT);
    const WORD french = 1036;
    const WORD japanese = 1041;
    EXPECT_EQ(ReadStringResource(module, IDS_DESCRIPTION, neutral), "My Screen Saver #1");
    EXPECT_EQ(ReadStringResource(module, IDS_DESCRIPTION, french), "NA");
    EXPECT_EQ(ReadStringResource(module, IDS_DESCRIPTION, japanese), "NA");
    const std::vector<WORD> languages = {french, japanese, neutral};
    EXPECT_EQ(StringBlockLanguages(module, 1), languages);
}
