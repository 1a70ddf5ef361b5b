#include "Text.h"

#include <cerrno>
#include <iconv.h>

namespace cellctl::cli {
namespace {

const char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

bool isAscii(const std::string& text)
{
    for (unsigned char c : text) {
        if (c >= 0x80)
            return false;
    }
    return true;
}

// Without a GBK converter every non-ASCII byte becomes a replacement mark.
std::string asciiOnly(const std::string& text)
{
    std::string out;
    for (unsigned char c : text) {
        if (c < 0x80)
            out += static_cast<char>(c);
        else
            out += kReplacement;
    }
    return out;
}

class Converter {
public:
    Converter() : m_handle(iconv_open("UTF-8", "GBK")) {}
    ~Converter()
    {
        if (valid())
            iconv_close(m_handle);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return m_handle != reinterpret_cast<iconv_t>(-1); }

    std::string convert(const std::string& gbk)
    {
        std::string out;
        char buffer[256];
        char* in = const_cast<char*>(gbk.data());
        size_t inLeft = gbk.size();
        while (inLeft > 0) {
            char* outPtr = buffer;
            size_t outLeft = sizeof buffer;
            size_t done = iconv(m_handle, &in, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<size_t>(outPtr - buffer));
            if (done != static_cast<size_t>(-1) || errno == E2BIG)
                continue;
            // An invalid or truncated sequence: mark it and go on after its first byte.
            out += kReplacement;
            ++in;
            --inLeft;
            iconv(m_handle, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

private:
    iconv_t m_handle;
};

}  // namespace

std::string gbkToUtf8(const std::string& gbk)
{
    if (isAscii(gbk))
        return gbk;
    Converter converter;
    if (!converter.valid())
        return asciiOnly(gbk);
    return converter.convert(gbk);
}

std::string terminalSafe(const std::string& utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x20 || c == 0x7F) {
            out += '?';
        } else if (c == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(utf8[i + 1]) <= 0x9F) {
            out += '?';  // U+0080 to U+009F
            ++i;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

}  // namespace cellctl::cli
