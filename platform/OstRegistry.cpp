#include "platform/OstRegistry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <map>
#include <sstream>
#include <system_error>

#include "platform/CodePage.h"
#include "platform/SafeWrite.h"
#include "platform/UniqueFd.h"

namespace ostrel {

namespace fs = std::filesystem;

namespace registry_detail {

// Names compare through the Windows-1250 upper-case table.
std::string Fold(std::string_view name) { return codepage::ToUpper(name); }

struct Value {
    std::string name;
    TRegDataType type = rdString;
    std::string text;
    uint32_t number = 0;
};

struct Key {
    std::string name;
    std::vector<Value> values;                            // in the order first written
    std::map<std::string, std::unique_ptr<Key>> subkeys;  // by folded name

    Value* value(std::string_view valueName)
    {
        const std::string folded = Fold(valueName);
        for (Value& v : values)
            if (Fold(v.name) == folded)
                return &v;
        return nullptr;
    }
    Key* child(std::string_view keyName) const
    {
        const auto it = subkeys.find(Fold(keyName));
        return it == subkeys.end() ? nullptr : it->second.get();
    }
    Key& childOrNew(std::string_view keyName)
    {
        auto& slot = subkeys[Fold(keyName)];
        if (!slot) {
            slot = std::make_unique<Key>();
            slot->name = std::string(keyName);
        }
        return *slot;
    }
};

constexpr std::array<const char*, 5> kRootNames = {
    "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS", "HKEY_CURRENT_CONFIG"};

struct Tree {
    std::array<Key, kRootNames.size()> roots;

    Key& root(THKey r) { return roots[static_cast<size_t>(r)]; }
    Key* find(THKey r, const std::vector<std::string>& path)
    {
        Key* k = &root(r);
        for (size_t i = 0; k && i < path.size(); ++i)
            k = k->child(path[i]);
        return k;
    }
    Key& make(THKey r, const std::vector<std::string>& path)
    {
        Key* k = &root(r);
        for (const std::string& part : path)
            k = &k->childOrNew(part);
        return *k;
    }
};

// One change made through a TRegistry, kept until it is saved so that it can
// be replayed on top of whatever the file holds by then.
struct Change {
    enum Op : uint8_t { SetValue, DeleteValue, CreateKey, DeleteKey } op;
    THKey root;
    std::vector<std::string> path;
    Value value;  // SetValue: the value; DeleteValue: its name
};

void Apply(Tree& tree, const Change& c)
{
    switch (c.op) {
    case Change::SetValue: {
        Key& key = tree.make(c.root, c.path);
        if (Value* v = key.value(c.value.name)) {
            v->type = c.value.type;  // the name keeps the case it was first written with
            v->text = c.value.text;
            v->number = c.value.number;
        } else {
            key.values.push_back(c.value);
        }
        break;
    }
    case Change::DeleteValue:
        if (Key* key = tree.find(c.root, c.path)) {
            const std::string folded = Fold(c.value.name);
            std::erase_if(key->values, [&](const Value& v) { return Fold(v.name) == folded; });
        }
        break;
    case Change::CreateKey:
        tree.make(c.root, c.path);
        break;
    case Change::DeleteKey: {
        if (c.path.empty())
            break;
        const std::vector<std::string> parentPath(c.path.begin(), c.path.end() - 1);
        if (Key* parent = tree.find(c.root, parentPath))
            parent->subkeys.erase(Fold(c.path.back()));
        break;
    }
    }
}

// ---- The text form -------------------------------------------------------

const char kHexDigits[] = "0123456789ABCDEF";

void AppendHexByte(std::string& out, unsigned char b)
{
    out += kHexDigits[b >> 4];
    out += kHexDigits[b & 15];
}

// Bytes that would make the file hard to read or edit are written as escapes.
bool IsControl(unsigned char b)
{
    const char16_t u = codepage::ToUnicode(b);
    return b < 0x20 || b == 0x7F || (u >= 0x80 && u <= 0x9F);
}

std::string QuotedText(std::string_view ansi)
{
    std::string out = "\"";
    for (const char ch : ansi) {
        const auto b = static_cast<unsigned char>(ch);
        switch (b) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default:
            if (IsControl(b)) {
                out += "\\x";
                AppendHexByte(out, b);
            } else {
                out += codepage::ToUtf8(std::string_view(&ch, 1));
            }
        }
    }
    return out + '"';
}

// A key name inside "[...]": the backslash separates names, so escapes use "%".
std::string KeyComponent(std::string_view ansi)
{
    std::string out;
    for (const char ch : ansi) {
        const auto b = static_cast<unsigned char>(ch);
        if (b == '%' || b == ']' || b == '[' || IsControl(b)) {
            out += '%';
            AppendHexByte(out, b);
        } else {
            out += codepage::ToUtf8(std::string_view(&ch, 1));
        }
    }
    return out;
}

// A key gets a section when it has values, or when it has nothing at all
// (a section is the only trace of an empty key); a root only for values.
void WriteKey(std::string& out, const std::string& header, const Key& key, bool isRoot = false)
{
    if (!key.values.empty() || (key.subkeys.empty() && !isRoot)) {
        out += "\n[" + header + "]\n";
        for (const Value& v : key.values) {
            out += QuotedText(v.name);
            if (v.type == rdInteger) {
                out += "=dword:";
                for (int shift = 24; shift >= 0; shift -= 8)
                    AppendHexByte(out, static_cast<unsigned char>(v.number >> shift));
            } else {
                out += v.type == rdExpandString ? "=expand_sz:" : "=sz:";
                out += QuotedText(v.text);
            }
            out += '\n';
        }
    }
    for (const auto& [folded, child] : key.subkeys)
        WriteKey(out, header + '\\' + KeyComponent(child->name), *child);
}

std::string Serialize(const Tree& tree)
{
    std::string out =
        "# Ostrel settings: one [key] per section, one \"name\"=type:data per value\n"
        "# (types sz, expand_sz, dword). Written by the program; edit with care.\n";
    for (size_t r = 0; r < kRootNames.size(); ++r)
        WriteKey(out, kRootNames[r], tree.roots[r], true);
    return out;
}

struct ParseError {
    std::string what;
};

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads two hexadecimal digits at s[i].
unsigned char HexByte(std::string_view s, size_t i)
{
    const int hi = i + 1 < s.size() ? HexValue(s[i]) : -1;
    const int lo = hi >= 0 ? HexValue(s[i + 1]) : -1;
    if (lo < 0)
        throw ParseError{"bad hexadecimal escape"};
    return static_cast<unsigned char>(hi * 16 + lo);
}

class LineParser {
public:
    explicit LineParser(std::string_view line) : s_(line) {}

    void skipBlanks()
    {
        while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t'))
            ++i_;
    }
    bool atEnd() { skipBlanks(); return i_ >= s_.size(); }
    void expect(std::string_view word)
    {
        skipBlanks();
        if (s_.substr(i_, word.size()) != word)
            throw ParseError{"expected " + std::string(word)};
        i_ += word.size();
    }
    bool accept(std::string_view word)
    {
        skipBlanks();
        if (s_.substr(i_, word.size()) != word)
            return false;
        i_ += word.size();
        return true;
    }
    // A double-quoted string with escapes, returned in Windows-1250.
    std::string quotedString()
    {
        expect("\"");
        std::string out;
        size_t run = i_;
        auto flush = [&] { out += codepage::FromUtf8(s_.substr(run, i_ - run)); };
        while (i_ < s_.size() && s_[i_] != '"') {
            if (s_[i_] != '\\') {
                ++i_;
                continue;
            }
            flush();
            out += escape();
            run = i_;
        }
        if (i_ >= s_.size())
            throw ParseError{"unterminated string"};
        flush();
        ++i_;
        return out;
    }
    uint32_t dword()
    {
        skipBlanks();
        uint32_t v = 0;
        int digits = 0;
        for (; i_ < s_.size() && HexValue(s_[i_]) >= 0; ++i_, ++digits)
            v = v * 16 + static_cast<uint32_t>(HexValue(s_[i_]));
        if (digits == 0 || digits > 8)
            throw ParseError{"bad dword"};
        return v;
    }

private:
    char escape()
    {
        if (i_ + 1 >= s_.size())
            throw ParseError{"unterminated string"};
        const char c = s_[i_ + 1];
        i_ += 2;
        switch (c) {
        case '\\': return '\\';
        case '"': return '"';
        case 't': return '\t';
        case 'n': return '\n';
        case 'r': return '\r';
        case 'x': {
            const unsigned char b = HexByte(s_, i_);
            i_ += 2;
            return static_cast<char>(b);
        }
        default: throw ParseError{"unknown escape"};
        }
    }

    std::string_view s_;
    size_t i_ = 0;
};

std::string UnescapeKeyComponent(std::string_view utf8)
{
    std::string out;
    size_t run = 0;
    for (size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] != '%')
            continue;
        out += codepage::FromUtf8(utf8.substr(run, i - run));
        out += static_cast<char>(HexByte(utf8, i + 1));
        i += 2;
        run = i + 1;
    }
    out += codepage::FromUtf8(utf8.substr(run));
    if (out.empty())
        throw ParseError{"empty key name"};
    return out;
}

Key& ParseHeader(Tree& tree, std::string_view inner)
{
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t i = 0; i <= inner.size(); ++i) {
        if (i == inner.size() || inner[i] == '\\') {
            parts.push_back(inner.substr(start, i - start));
            start = i + 1;
        }
    }
    size_t r = 0;
    while (r < kRootNames.size() && Fold(parts[0]) != kRootNames[r])
        ++r;
    if (r == kRootNames.size())
        throw ParseError{"unknown root key"};
    Key* key = &tree.roots[r];
    for (size_t i = 1; i < parts.size(); ++i)
        key = &key->childOrNew(UnescapeKeyComponent(parts[i]));
    return *key;
}

void ParseValue(Key& key, std::string_view line)
{
    LineParser p(line);
    Value v;
    v.name = p.quotedString();
    p.expect("=");
    if (p.accept("dword:")) {
        v.type = rdInteger;
        v.number = p.dword();
    } else {
        v.type = rdExpandString;
        if (!p.accept("expand_sz:")) {
            p.expect("sz:");
            v.type = rdString;
        }
        v.text = p.quotedString();
    }
    if (!p.atEnd())
        throw ParseError{"unexpected text after the value"};
    if (key.value(v.name))
        throw ParseError{"value written twice"};
    key.values.push_back(std::move(v));
}

std::string_view Trimmed(std::string_view s)
{
    while (!s.empty() && (s.back() == '\r' || s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    return s;
}

// Parses the whole file; on failure the error names the line.
void Parse(Tree& tree, std::string_view text)
{
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    Key* key = nullptr;
    int lineNo = 0;
    while (!text.empty()) {
        ++lineNo;
        const size_t eol = text.find('\n');
        const std::string_view line = Trimmed(text.substr(0, eol));
        text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
        try {
            if (line.empty() || line.front() == '#')
                continue;
            if (line.front() == '[') {
                if (line.back() != ']' || line.size() < 3)
                    throw ParseError{"bad key line"};
                key = &ParseHeader(tree, line.substr(1, line.size() - 2));
            } else if (!key) {
                throw ParseError{"value outside a key"};
            } else {
                ParseValue(*key, line);
            }
        } catch (ParseError& e) {
            e.what = "line " + std::to_string(lineNo) + ": " + e.what;
            throw;
        }
    }
}

// ---- The file ------------------------------------------------------------

class FileLock {
public:
    explicit FileLock(const fs::path& file)
    {
        const fs::path lockPath = file.string() + ".lock";
        fd_ = TUniqueFd(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
        if (!fd_.IsOpen())
            throw ERegistryException("Cannot lock the settings file '" + file.string() +
                                     "': " + std::strerror(errno));
        while (::flock(fd_.Get(), LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    // Closing the descriptor releases the lock.
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    TUniqueFd fd_;
};

std::string Timestamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y%m%d-%H%M%S", &tm);
    return buf;
}

fs::path SetAside(const fs::path& file)
{
    const std::string base = file.string() + ".damaged-" + Timestamp();
    fs::path target = base;
    for (int n = 2; fs::exists(target); ++n)
        target = base + "-" + std::to_string(n);
    std::error_code ec;
    fs::rename(file, target, ec);
    if (ec)
        throw ERegistryException("The settings file '" + file.string() +
                                 "' is damaged and cannot be moved aside: " + ec.message());
    return target;
}

// Reads the file into the tree (which stays empty when there is no file).
// Call with the lock held. A damaged file is moved aside and reported.
void ReadFile(const fs::path& file, Tree& tree)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        if (fs::exists(file))
            throw ERegistryException("Cannot read the settings file '" + file.string() + "'");
        return;
    }
    std::ostringstream content;
    content << in.rdbuf();
    try {
        Parse(tree, content.str());
    } catch (const ParseError& e) {
        tree = Tree{};
        const fs::path aside = SetAside(file);
        throw ERegistryFileDamaged("The settings file '" + file.string() + "' is damaged (" + e.what +
                                       "); it was moved to '" + aside.string() +
                                       "' and the settings start from their defaults",
                                   aside);
    }
}

// Written through the safe writer: a link to the settings file stays a
// link, and a failure leaves the old settings. Call with the lock held.
void ReplaceFile(const fs::path& file, std::string_view bytes)
{
    try {
        WriteFileSafely(file.string(), bytes, TSafeWriteOptions{.newFileMode = 0600});
    } catch (const std::system_error& e) {
        throw ERegistryException("Cannot save the settings file '" + file.string() + "': " + e.code().message());
    }
}

}  // namespace registry_detail

using namespace registry_detail;

fs::path DefaultRegistryFile()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    fs::path base;
    if (xdg && *xdg == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = fs::path(home && *home ? home : ".") / ".config";
    }
    return base / "ostrel" / "registry.txt";
}

TRegistry::TRegistry() : TRegistry(DefaultRegistryFile()) {}

TRegistry::TRegistry(fs::path file) : file_(std::move(file)) {}

TRegistry::~TRegistry()
{
    try {
        Flush();
    } catch (...) {
        // A destructor cannot report; callers that care call CloseKey or Flush.
    }
}

Tree& TRegistry::tree()
{
    if (!tree_) {
        tree_ = std::make_unique<Tree>();
        if (fs::is_directory(file_.parent_path())) {
            FileLock lock(file_);
            ReadFile(file_, *tree_);
        }
    }
    return *tree_;
}

void TRegistry::Flush()
{
    if (pending_.empty())
        return;
    std::error_code ec;
    fs::create_directories(file_.parent_path(), ec);
    if (ec)
        throw ERegistryException("Cannot save the settings file '" + file_.string() + "': " + ec.message());
    FileLock lock(file_);
    Tree fresh;
    ReadFile(file_, fresh);
    for (const Change& c : pending_)
        Apply(fresh, c);
    ReplaceFile(file_, Serialize(fresh));
    *tree_ = std::move(fresh);
    pending_.clear();
}

void TRegistry::change(Change c)
{
    Apply(tree(), c);
    pending_.push_back(std::move(c));
    if (!lazyWrite_)
        Flush();
}

TRegistry::Path TRegistry::resolve(std::string_view key) const
{
    Path path;
    if (key.starts_with('\\'))
        key.remove_prefix(1);
    else if (open_)
        path = current_;
    while (!key.empty()) {
        const size_t sep = key.find('\\');
        const std::string_view part = key.substr(0, sep);
        if (!part.empty())
            path.emplace_back(part);
        key.remove_prefix(sep == std::string_view::npos ? key.size() : sep + 1);
    }
    return path;
}

const Key* TRegistry::findKey(const Path& path) { return tree().find(root_, path); }

void TRegistry::openPath(Path path, bool readOnly)
{
    current_ = std::move(path);
    currentPath_.clear();
    for (const std::string& part : current_)
        currentPath_ += (currentPath_.empty() ? "" : "\\") + part;
    open_ = true;
    readOnly_ = readOnly;
}

void TRegistry::SetRootKey(THKey root)
{
    CloseKey();
    root_ = root;
}

bool TRegistry::OpenKey(std::string_view key, bool canCreate)
{
    Path path = resolve(key);
    if (!findKey(path)) {
        if (!canCreate)
            return false;
        change(Change{Change::CreateKey, root_, path, {}});
    }
    openPath(std::move(path), false);
    return true;
}

bool TRegistry::OpenKeyReadOnly(std::string_view key)
{
    Path path = resolve(key);
    if (!findKey(path))
        return false;
    openPath(std::move(path), true);
    return true;
}

bool TRegistry::CreateKey(std::string_view key)
{
    Path path = resolve(key);
    if (path.empty())
        return false;
    if (!findKey(path))
        change(Change{Change::CreateKey, root_, std::move(path), {}});
    return true;
}

bool TRegistry::KeyExists(std::string_view key) { return findKey(resolve(key)) != nullptr; }

bool TRegistry::DeleteKey(std::string_view key)
{
    Path path = resolve(key);
    if (path.empty() || !findKey(path))
        return false;
    change(Change{Change::DeleteKey, root_, std::move(path), {}});
    return true;
}

void TRegistry::CloseKey()
{
    open_ = false;
    readOnly_ = false;
    current_.clear();
    currentPath_.clear();
    Flush();
}

std::vector<std::string> TRegistry::GetValueNames()
{
    std::vector<std::string> names;
    if (const Key* k = open_ ? findKey(current_) : nullptr)
        for (const Value& v : k->values)
            names.push_back(v.name);
    return names;
}

std::vector<std::string> TRegistry::GetKeyNames()
{
    std::vector<std::string> names;
    if (const Key* k = open_ ? findKey(current_) : nullptr)
        for (const auto& [folded, child] : k->subkeys)
            names.push_back(child->name);
    return names;
}

bool TRegistry::HasSubKeys()
{
    const Key* k = open_ ? findKey(current_) : nullptr;
    return k && !k->subkeys.empty();
}

const Value* TRegistry::findValue(std::string_view name)
{
    Key* k = open_ ? tree().find(root_, current_) : nullptr;
    return k ? k->value(name) : nullptr;
}

bool TRegistry::ValueExists(std::string_view name) { return findValue(name) != nullptr; }

TRegDataType TRegistry::GetDataType(std::string_view name)
{
    const Value* v = findValue(name);
    return v ? v->type : rdUnknown;
}

bool TRegistry::DeleteValue(std::string_view name)
{
    if (!findValue(name) || readOnly_)
        return false;
    Change c{Change::DeleteValue, root_, current_, {}};
    c.value.name = std::string(name);
    change(std::move(c));
    return true;
}

std::string TRegistry::ReadString(std::string_view name)
{
    const Value* v = findValue(name);
    if (!v)
        return {};
    if (v->type != rdString && v->type != rdExpandString)
        throw ERegistryException("Invalid data type for '" + std::string(name) + "'");
    return v->text;
}

std::string TRegistry::ReadExpandString(std::string_view name) { return ReadString(name); }

int32_t TRegistry::ReadInteger(std::string_view name)
{
    const Value* v = findValue(name);
    if (!v)
        throw ERegistryException("Failed to get data for '" + std::string(name) + "'");
    if (v->type != rdInteger)
        throw ERegistryException("Invalid data type for '" + std::string(name) + "'");
    return static_cast<int32_t>(v->number);
}

void TRegistry::writeValue(std::string_view name, TRegDataType type, std::string_view text,
                           uint32_t number)
{
    if (!open_ || readOnly_)
        throw ERegistryException("Failed to set data for '" + std::string(name) + "'");
    Change c{Change::SetValue, root_, current_, {}};
    c.value = Value{std::string(name), type, std::string(text), number};
    change(std::move(c));
}

void TRegistry::WriteString(std::string_view name, std::string_view value)
{
    writeValue(name, rdString, value, 0);
}

void TRegistry::WriteExpandString(std::string_view name, std::string_view value)
{
    writeValue(name, rdExpandString, value, 0);
}

void TRegistry::WriteInteger(std::string_view name, int32_t value)
{
    writeValue(name, rdInteger, {}, static_cast<uint32_t>(value));
}

}  // namespace ostrel
