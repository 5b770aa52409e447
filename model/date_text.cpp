#include "date_text.h"

#include <array>

namespace date_text {
namespace {

constexpr std::array<std::wstring_view, 7> kWeekdays = {
    L"Sunday", L"Monday", L"Tuesday", L"Wednesday", L"Thursday", L"Friday", L"Saturday"};
constexpr std::array<std::wstring_view, 12> kMonths = {
    L"January", L"February", L"March",     L"April",   L"May",      L"June",
    L"July",    L"August",   L"September", L"October", L"November", L"December"};

// Appends into a fixed buffer, remembering whether anything was cut off.
class Output {
  public:
    explicit Output(wchar_t (&buffer)[kBufferChars]) : m_buffer(buffer) {}

    void Text(std::wstring_view text) {
        for (wchar_t c : text) Char(c);
    }
    void Char(wchar_t c) {
        if (m_length + 1 < kBufferChars) {
            m_buffer[m_length++] = c;
        } else {
            m_overflow = true;
        }
    }
    void Number(unsigned value, int minDigits) {
        wchar_t digits[10];
        int count = 0;
        do {
            digits[count++] = static_cast<wchar_t>(L'0' + value % 10);
            value /= 10;
        } while (value != 0 && count < 10);
        while (count < minDigits) digits[count++] = L'0';
        while (count > 0) Char(digits[--count]);
    }
    std::size_t Finish() {
        if (m_overflow) m_length = 0;
        m_buffer[m_length] = L'\0';
        return m_length;
    }

  private:
    wchar_t (&m_buffer)[kBufferChars];
    std::size_t m_length = 0;
    bool m_overflow = false;
};

std::wstring_view Name(const auto& names, unsigned index) {
    return index < names.size() ? names[index] : std::wstring_view{L"?"};
}

}  // namespace

std::size_t Render(std::wstring_view pattern, const DateFields& fields,
                   wchar_t (&buffer)[kBufferChars]) {
    Output out(buffer);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != L'%' || i + 1 == pattern.size()) {
            out.Char(pattern[i]);
            continue;
        }
        const wchar_t conversion = pattern[++i];
        switch (conversion) {
            case L'A':
                out.Text(Name(kWeekdays, fields.dayOfWeek));
                break;
            case L'a':
                out.Text(Name(kWeekdays, fields.dayOfWeek).substr(0, 3));
                break;
            case L'B':
                out.Text(Name(kMonths, fields.month - 1u));
                break;
            case L'b':
                out.Text(Name(kMonths, fields.month - 1u).substr(0, 3));
                break;
            case L'd':
                out.Number(fields.day, 2);
                break;
            case L'm':
                out.Number(fields.month, 2);
                break;
            case L'Y':
                out.Number(fields.year, 4);
                break;
            case L'y':
                out.Number(fields.year % 100u, 2);
                break;
            case L'H':
                out.Number(fields.hour, 2);
                break;
            case L'M':
                out.Number(fields.minute, 2);
                break;
            case L'S':
                out.Number(fields.second, 2);
                break;
            case L'j':
                out.Number(fields.dayOfYear, 3);
                break;
            case L'w':
                out.Number(fields.dayOfWeek, 1);
                break;
            case L'%':
                out.Char(L'%');
                break;
            default:
                out.Char(L'%');
                out.Char(conversion);
                break;
        }
    }
    return out.Finish();
}

}  // namespace date_text
