// Reads the configuration dialog template and the description strings back
// from the resource bytes of a module, and checks them against the layout the
// saver ships with. The module may be the running test program or the saver
// loaded as a data file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct DialogItem {
    uint32_t helpId;
    uint32_t exStyle;
    uint32_t style;
    int16_t x, y, cx, cy;
    uint32_t id;
    std::string className; // lower case; predefined classes by their name
    std::string text;
    uint16_t extraBytes;
};

struct DialogTemplateEx {
    uint16_t version;
    uint16_t signature;
    uint32_t helpId;
    uint32_t exStyle;
    uint32_t style;
    int16_t x, y, cx, cy;
    bool hasMenu;
    bool hasClass;
    std::string caption;
    uint16_t pointSize;
    uint16_t weight;
    uint8_t italic;
    uint8_t charset;
    std::string typeface;
    std::vector<DialogItem> items;
};

// Parses an extended dialog template; nothing when the bytes are not one or
// are cut short.
std::optional<DialogTemplateEx> ParseDialogTemplateEx(const BYTE* data, size_t size);

// The RT_DIALOG resource `id` of the module, parsed.
std::optional<DialogTemplateEx> ReadDialogTemplate(HMODULE module, int id);

// String `id` of the module in one language, read from its string-table
// block; nothing when the block or the string is missing.
std::optional<std::string> ReadStringResource(HMODULE module, int id, WORD language);

// The languages in which the module carries string-table block `block`.
std::vector<WORD> StringBlockLanguages(HMODULE module, int block);

// GoogleTest checks of the dialog template and the description strings.
void ExpectConfigDialogTemplate(HMODULE module);
void ExpectDescriptionStrings(HMODULE module);
