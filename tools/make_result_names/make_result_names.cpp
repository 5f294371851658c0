// Writes the table of result-code names that ResultCodeName looks up.
//
// Reads the #define lines of the Windows and DirectX headers, evaluates the
// constant expressions of the result codes (MAKE_HRESULT, _HRESULT_TYPEDEF_,
// MAKE_D3DHRESULT and the other per-component helpers, casts and arithmetic),
// turns the plain Win32 error numbers of winerror.h into their result-code
// form, and prints one line per value, names of one value joined by " & ",
// sorted by the value as an unsigned 32-bit number.
//
//   make_result_names <include dir> <output file>
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The headers read, in this order; the order of names sharing a value follows it.
const char* const kHeaders[] = {
    "winerror.h",  "d3d9.h",      "d3d9types.h", "d3d8.h",        "d3d.h",         "d3dx9.h",
    "d3dx9core.h", "d3dx9mesh.h", "d3dx9tex.h",  "d3dx9shader.h", "d3dx9effect.h", "d3dx9anim.h",
    "d3dx9xof.h",  "ddraw.h",     "dsound.h",    "dinput.h",      "dplay.h",       "dplay8.h",
    "dplobby.h",   "dmerror.h",   "dxfile.h",    "d3drmdef.h",    "d3drm.h",
};

struct Token {
    enum Kind { Number, Name, Punct } kind;
    std::string text;
    int64_t value;
};

struct Define {
    int fileIndex;
    int order;
    bool function;
    std::vector<std::string> params;
    std::vector<Token> body;
};

struct Value {
    int64_t number;
    bool result; // formed by a result-code construct
};

struct EvalError {};

std::vector<Token> Tokenize(const std::string& text) {
    std::vector<Token> tokens;
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (std::isspace(c)) {
            ++i;
        } else if (std::isdigit(c)) {
            size_t start = i;
            while (i < text.size() && std::isalnum(static_cast<unsigned char>(text[i]))) {
                ++i;
            }
            std::string literal = text.substr(start, i - start);
            while (!literal.empty() && std::strchr("uUlL", literal.back())) {
                literal.pop_back();
            }
            size_t used = 0;
            int64_t value = 0;
            try {
                value = static_cast<int64_t>(std::stoull(literal, &used, 0));
            } catch (...) {
                throw EvalError{};
            }
            if (used != literal.size()) {
                throw EvalError{};
            }
            tokens.push_back({Token::Number, literal, value});
        } else if (std::isalpha(c) || c == '_') {
            size_t start = i;
            while (i < text.size() &&
                   (std::isalnum(static_cast<unsigned char>(text[i])) || text[i] == '_')) {
                ++i;
            }
            tokens.push_back({Token::Name, text.substr(start, i - start), 0});
        } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
            break;
        } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
            size_t end = text.find("*/", i + 2);
            i = end == std::string::npos ? text.size() : end + 2;
        } else {
            std::string two = text.substr(i, 2);
            if (two == "<<" || two == ">>" || two == "<=" || two == ">=" || two == "==" ||
                two == "!=" || two == "&&" || two == "||") {
                tokens.push_back({Token::Punct, two, 0});
                i += 2;
            } else {
                tokens.push_back({Token::Punct, std::string(1, static_cast<char>(c)), 0});
                ++i;
            }
        }
    }
    return tokens;
}

class Evaluator {
  public:
    explicit Evaluator(const std::map<std::string, Define>& defines) : defines_(defines) {}

    bool Evaluate(const std::string& name, Value& out) {
        auto memo = memo_.find(name);
        if (memo != memo_.end()) {
            if (!memo->second.first) {
                return false;
            }
            out = memo->second.second;
            return true;
        }
        auto found = defines_.find(name);
        if (found == defines_.end() || found->second.function || active_.count(name)) {
            return false;
        }
        active_.insert(name);
        bool ok = true;
        Value value{0, false};
        try {
            value = EvaluateTokens(found->second.body);
        } catch (const EvalError&) {
            ok = false;
        }
        active_.erase(name);
        memo_[name] = {ok, value};
        out = value;
        return ok;
    }

  private:
    Value EvaluateTokens(const std::vector<Token>& tokens) {
        if (tokens.empty()) {
            throw EvalError{};
        }
        const std::vector<Token>* saved = tokens_;
        size_t savedPos = pos_;
        tokens_ = &tokens;
        pos_ = 0;
        Value v = Ternary();
        if (pos_ != tokens.size()) {
            throw EvalError{};
        }
        tokens_ = saved;
        pos_ = savedPos;
        return v;
    }

    bool AtPunct(const char* p) const {
        return pos_ < tokens_->size() && (*tokens_)[pos_].kind == Token::Punct &&
               (*tokens_)[pos_].text == p;
    }
    void Expect(const char* p) {
        if (!AtPunct(p)) {
            throw EvalError{};
        }
        ++pos_;
    }

    Value Ternary() {
        Value c = Binary(0);
        if (AtPunct("?")) {
            ++pos_;
            Value a = Ternary();
            Expect(":");
            Value b = Ternary();
            Value r = c.number ? a : b;
            r.result = r.result || a.result || b.result;
            return r;
        }
        return c;
    }

    static int Precedence(const std::string& op) {
        static const std::map<std::string, int> table = {
            {"||", 1}, {"&&", 2}, {"|", 3}, {"^", 4},  {"&", 5},  {"==", 6},
            {"!=", 6}, {"<", 7},  {">", 7}, {"<=", 7}, {">=", 7}, {"<<", 8},
            {">>", 8}, {"+", 9},  {"-", 9}, {"*", 10}, {"/", 10}, {"%", 10}};
        auto found = table.find(op);
        return found == table.end() ? -1 : found->second;
    }

    Value Binary(int minPrecedence) {
        Value left = Unary();
        while (pos_ < tokens_->size() && (*tokens_)[pos_].kind == Token::Punct) {
            const std::string op = (*tokens_)[pos_].text;
            int precedence = Precedence(op);
            if (precedence < minPrecedence) {
                break;
            }
            ++pos_;
            Value right = Binary(precedence + 1);
            left = Apply(op, left, right);
        }
        return left;
    }

    static Value Apply(const std::string& op, Value a, Value b) {
        int64_t x = a.number;
        int64_t y = b.number;
        int64_t r = 0;
        if (op == "|")
            r = x | y;
        else if (op == "^")
            r = x ^ y;
        else if (op == "&")
            r = x & y;
        else if (op == "+")
            r = x + y;
        else if (op == "-")
            r = x - y;
        else if (op == "*")
            r = x * y;
        else if (op == "<<")
            r = static_cast<int64_t>(static_cast<uint64_t>(x) << (y & 63));
        else if (op == ">>")
            r = x >> (y & 63);
        else if (op == "/" || op == "%") {
            if (y == 0) {
                throw EvalError{};
            }
            r = op == "/" ? x / y : x % y;
        } else if (op == "==")
            r = x == y;
        else if (op == "!=")
            r = x != y;
        else if (op == "<")
            r = x < y;
        else if (op == ">")
            r = x > y;
        else if (op == "<=")
            r = x <= y;
        else if (op == ">=")
            r = x >= y;
        else if (op == "&&")
            r = x && y;
        else if (op == "||")
            r = x || y;
        return {r, a.result || b.result};
    }

    static bool IsTypeWord(const std::string& word) {
        static const std::set<std::string> words = {
            "HRESULT",  "SCODE",  "DWORD", "LONG",  "ULONG",    "UINT", "long",
            "unsigned", "signed", "int",   "short", "__LONG32", "INT",  "WORD"};
        return words.count(word) != 0;
    }

    Value Unary() {
        if (AtPunct("-")) {
            ++pos_;
            Value v = Unary();
            return {-v.number, v.result};
        }
        if (AtPunct("+")) {
            ++pos_;
            return Unary();
        }
        if (AtPunct("~")) {
            ++pos_;
            Value v = Unary();
            return {~v.number, v.result};
        }
        if (AtPunct("!")) {
            ++pos_;
            Value v = Unary();
            return {!v.number, v.result};
        }
        return Primary();
    }

    // A cast: "(" type words ")" followed by an operand.
    bool TryCast(Value& out) {
        size_t p = pos_ + 1;
        bool resultType = false;
        size_t words = 0;
        while (p < tokens_->size() && (*tokens_)[p].kind == Token::Name &&
               IsTypeWord((*tokens_)[p].text)) {
            resultType =
                resultType || (*tokens_)[p].text == "HRESULT" || (*tokens_)[p].text == "SCODE";
            ++p;
            ++words;
        }
        if (words == 0 || p >= tokens_->size() || (*tokens_)[p].text != ")") {
            return false;
        }
        pos_ = p + 1;
        Value v = Unary();
        out = {static_cast<int64_t>(static_cast<uint32_t>(v.number)), v.result || resultType};
        if (resultType) {
            out.number = static_cast<int32_t>(static_cast<uint32_t>(v.number));
        }
        return true;
    }

    std::vector<std::vector<Token>> Arguments() {
        Expect("(");
        std::vector<std::vector<Token>> args(1);
        int depth = 0;
        while (true) {
            if (pos_ >= tokens_->size()) {
                throw EvalError{};
            }
            const Token& t = (*tokens_)[pos_++];
            if (t.kind == Token::Punct && t.text == "(") {
                ++depth;
            } else if (t.kind == Token::Punct && t.text == ")") {
                if (depth == 0) {
                    break;
                }
                --depth;
            } else if (t.kind == Token::Punct && t.text == "," && depth == 0) {
                args.emplace_back();
                continue;
            }
            args.back().push_back(t);
        }
        return args;
    }

    static int64_t MakeResult(int64_t severity, int64_t facility, int64_t code) {
        uint32_t v = (static_cast<uint32_t>(severity) << 31) |
                     (static_cast<uint32_t>(facility) << 16) | static_cast<uint32_t>(code);
        return static_cast<int32_t>(v);
    }

    static int64_t FromWin32(int64_t x) {
        int32_t v = static_cast<int32_t>(x);
        if (v <= 0) {
            return v;
        }
        return static_cast<int32_t>((static_cast<uint32_t>(v) & 0xFFFFu) | 0x80070000u);
    }

    Value Primary() {
        if (pos_ >= tokens_->size()) {
            throw EvalError{};
        }
        const Token& t = (*tokens_)[pos_];
        if (t.kind == Token::Number) {
            ++pos_;
            return {t.value, false};
        }
        if (t.kind == Token::Punct && t.text == "(") {
            Value cast{0, false};
            if (TryCast(cast)) {
                return cast;
            }
            ++pos_;
            Value v = Ternary();
            Expect(")");
            return v;
        }
        if (t.kind != Token::Name) {
            throw EvalError{};
        }
        const std::string name = t.text;
        ++pos_;
        bool call = AtPunct("(");
        if (call) {
            if (name == "MAKE_HRESULT" || name == "MAKE_SCODE") {
                auto args = Arguments();
                if (args.size() != 3) {
                    throw EvalError{};
                }
                Value s = EvaluateTokens(args[0]);
                Value f = EvaluateTokens(args[1]);
                Value c = EvaluateTokens(args[2]);
                return {MakeResult(s.number, f.number, c.number), true};
            }
            if (name == "_HRESULT_TYPEDEF_" || name == "__MSABI_LONG" ||
                name == "_NDIS_ERROR_TYPEDEF_" || name == "HRESULT_FROM_WIN32" ||
                name == "__HRESULT_FROM_WIN32") {
                auto args = Arguments();
                if (args.size() != 1) {
                    throw EvalError{};
                }
                Value v = EvaluateTokens(args[0]);
                if (name == "_HRESULT_TYPEDEF_") {
                    return {static_cast<int32_t>(static_cast<uint32_t>(v.number)), true};
                }
                if (name == "HRESULT_FROM_WIN32" || name == "__HRESULT_FROM_WIN32") {
                    return {FromWin32(v.number), true};
                }
                return v;
            }
            auto found = defines_.find(name);
            if (found == defines_.end() || !found->second.function) {
                throw EvalError{};
            }
            auto args = Arguments();
            const Define& macro = found->second;
            if (args.size() != macro.params.size() &&
                !(macro.params.empty() && args.size() == 1 && args[0].empty())) {
                throw EvalError{};
            }
            if (active_.count(name)) {
                throw EvalError{};
            }
            std::vector<Token> expanded;
            for (const Token& b : macro.body) {
                auto param = std::find(macro.params.begin(), macro.params.end(), b.text);
                if (b.kind == Token::Name && param != macro.params.end()) {
                    const auto& arg = args[static_cast<size_t>(param - macro.params.begin())];
                    expanded.push_back({Token::Punct, "(", 0});
                    expanded.insert(expanded.end(), arg.begin(), arg.end());
                    expanded.push_back({Token::Punct, ")", 0});
                } else {
                    expanded.push_back(b);
                }
            }
            active_.insert(name);
            Value v{0, false};
            try {
                v = EvaluateTokens(expanded);
            } catch (const EvalError&) {
                active_.erase(name);
                throw;
            }
            active_.erase(name);
            return v;
        }
        Value v{0, false};
        if (!Evaluate(name, v)) {
            throw EvalError{};
        }
        return v;
    }

    const std::map<std::string, Define>& defines_;
    std::map<std::string, std::pair<bool, Value>> memo_;
    std::set<std::string> active_;
    const std::vector<Token>* tokens_ = nullptr;
    size_t pos_ = 0;
};

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

bool StartsWith(const std::string& s, const std::string& head) {
    return s.compare(0, head.size(), head) == 0;
}

// Range markers, facility and severity numbers and the headers' own helpers
// are not result codes.
bool Excluded(const std::string& name) {
    return name.empty() || name[0] == '_' || StartsWith(name, "FACILITY_") ||
           StartsWith(name, "SEVERITY_") || EndsWith(name, "_FIRST") || EndsWith(name, "_LAST") ||
           EndsWith(name, "BASEERR") || EndsWith(name, "_ERRBASE") || name == "DMUS_ERRBASE";
}

// An enumerator of a result-code enumeration, "NAME = MAKE_DDHRESULT(2900),";
// kept only when its value turns out to be formed as a result code.
void ReadEnumerator(const std::string& line, size_t p, int fileIndex, int& order,
                    std::map<std::string, Define>& defines) {
    size_t end = p;
    while (end < line.size() &&
           (std::isalnum(static_cast<unsigned char>(line[end])) || line[end] == '_')) {
        ++end;
    }
    size_t eq = line.find_first_not_of(" \t", end);
    if (end == p || eq == std::string::npos || line[eq] != '=' || line.compare(eq, 2, "==") == 0) {
        return;
    }
    std::string name = line.substr(p, end - p);
    std::string body = line.substr(eq + 1);
    size_t comma = body.find_last_of(',');
    if (comma != std::string::npos &&
        body.find_first_not_of(" \t", comma + 1) == std::string::npos) {
        body.erase(comma);
    }
    if (body.find("HRESULT") == std::string::npos || defines.count(name)) {
        return;
    }
    Define define{fileIndex, order++, false, {}, {}};
    try {
        define.body = Tokenize(body);
    } catch (const EvalError&) {
        return;
    }
    defines.emplace(name, std::move(define));
}

void ReadHeader(const std::string& path, int fileIndex, int& order,
                std::map<std::string, Define>& defines) {
    std::ifstream in(path);
    if (!in) {
        std::fprintf(stderr, "make_result_names: cannot read %s\n", path.c_str());
        std::exit(1);
    }
    std::string line;
    while (std::getline(in, line)) {
        while (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        while (!line.empty() && line.back() == '\\') {
            line.pop_back();
            std::string next;
            if (!std::getline(in, next)) {
                break;
            }
            line += " " + next;
        }
        size_t p = line.find_first_not_of(" \t");
        if (p == std::string::npos) {
            continue;
        }
        if (line[p] != '#') {
            ReadEnumerator(line, p, fileIndex, order, defines);
            continue;
        }
        p = line.find_first_not_of(" \t", p + 1);
        if (p == std::string::npos || line.compare(p, 6, "define") != 0) {
            continue;
        }
        p = line.find_first_not_of(" \t", p + 6);
        if (p == std::string::npos) {
            continue;
        }
        size_t end = p;
        while (end < line.size() &&
               (std::isalnum(static_cast<unsigned char>(line[end])) || line[end] == '_')) {
            ++end;
        }
        std::string name = line.substr(p, end - p);
        if (name.empty() || defines.count(name)) {
            continue;
        }
        Define define{fileIndex, order++, false, {}, {}};
        size_t bodyStart = end;
        if (end < line.size() && line[end] == '(') {
            define.function = true;
            size_t close = line.find(')', end);
            if (close == std::string::npos) {
                continue;
            }
            std::stringstream params(line.substr(end + 1, close - end - 1));
            std::string param;
            while (std::getline(params, param, ',')) {
                param.erase(0, param.find_first_not_of(" \t"));
                param.erase(param.find_last_not_of(" \t") + 1);
                if (!param.empty()) {
                    define.params.push_back(param);
                }
            }
            bodyStart = close + 1;
        }
        try {
            define.body = Tokenize(line.substr(bodyStart));
        } catch (const EvalError&) {
            define.body.clear();
        }
        defines.emplace(name, std::move(define));
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_result_names <include dir> <output file>\n");
        return 2;
    }
    const std::string dir = argv[1];
    std::map<std::string, Define> defines;
    int order = 0;
    int fileIndex = 0;
    for (const char* header : kHeaders) {
        ReadHeader(dir + "/" + header, fileIndex++, order, defines);
    }

    std::vector<std::pair<int, std::string>> byOrder;
    for (const auto& entry : defines) {
        byOrder.push_back({entry.second.order, entry.first});
    }
    std::sort(byOrder.begin(), byOrder.end());

    Evaluator evaluator(defines);
    std::map<uint32_t, std::vector<std::string>> names;
    size_t total = 0;
    for (const auto& item : byOrder) {
        const std::string& name = item.second;
        const Define& define = defines.at(name);
        if (define.function || define.body.empty() || Excluded(name)) {
            continue;
        }
        Value value{0, false};
        if (!evaluator.Evaluate(name, value)) {
            continue;
        }
        uint32_t code = static_cast<uint32_t>(value.number);
        if (!value.result) {
            // Plain numbers of winerror.h are Win32 error codes; elsewhere
            // they are flags and sizes.
            if (define.fileIndex != 0 || value.number < 0 || value.number > 0xFFFF) {
                continue;
            }
            code = code == 0 ? 0u : (code | 0x80070000u);
        }
        names[code].push_back(name);
        ++total;
    }

    std::ofstream out(argv[2], std::ios::binary);
    out << "// Generated by tools/make_result_names from the Windows and DirectX headers;\n"
        << "// do not edit. " << total << " names, " << names.size() << " values.\n";
    for (const auto& entry : names) {
        std::string joined;
        for (const std::string& n : entry.second) {
            if (!joined.empty()) {
                joined += " & ";
            }
            joined += n;
        }
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%08Xu", entry.first);
        out << "{" << hex << ", \"" << joined << "\"},\n";
    }
    return out ? 0 : 1;
}
