#include "online/EmailCheck.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <QByteArray>

namespace {

class CompiledPattern
{
public:
    CompiledPattern()
    {
        static const char pattern[] = "^[a-zA-Z0-9_.+-]+@[a-zA-Z0-9-]+\\.[a-zA-Z0-9-.]*[a-zA-Z0-9]+$";
        int errorCode = 0;
        PCRE2_SIZE errorOffset = 0;
        m_code = pcre2_compile_8(reinterpret_cast<PCRE2_SPTR8>(pattern), PCRE2_ZERO_TERMINATED, 0, &errorCode,
                                 &errorOffset, nullptr);
    }
    ~CompiledPattern() { pcre2_code_free_8(m_code); }
    CompiledPattern(const CompiledPattern&) = delete;
    CompiledPattern& operator=(const CompiledPattern&) = delete;

    bool matches(const QByteArray& subject) const
    {
        if (!m_code)
            return false;
        pcre2_match_data_8* data = pcre2_match_data_create_from_pattern_8(m_code, nullptr);
        if (!data)
            return false;
        const int rc = pcre2_match_8(m_code, reinterpret_cast<PCRE2_SPTR8>(subject.constData()),
                                     static_cast<PCRE2_SIZE>(subject.size()), 0, PCRE2_NOTEMPTY, data, nullptr);
        pcre2_match_data_free_8(data);
        return rc > 0;
    }

private:
    pcre2_code_8* m_code = nullptr;
};

} // namespace

bool IsValidEmailAddress(const QString& address)
{
    static const CompiledPattern pattern;
    return pattern.matches(address.toUtf8());
}
