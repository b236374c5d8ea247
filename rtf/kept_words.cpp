// Words and groups that Velmo keeps without showing them, and their font and colour numbers,
// which follow the tables of whichever file they are written into.
#include "rtf/kept_words.h"
#include "rtf/tokenizer.h"
#include <string_view>
#include <unordered_set>

namespace rtf {
namespace {

constexpr qsizetype MaxKeptWords = 4096;

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Where `\name` stands in `words` as a whole word, or -1.
qsizetype findWord(const QByteArray &words, QByteArrayView name)
{
    for (qsizetype at = words.indexOf('\\'); at >= 0; at = words.indexOf('\\', at + 1)) {
        const qsizetype end = at + 1 + name.size();
        if (end <= words.size() && QByteArrayView(words).sliced(at + 1, name.size()) == name
            && (end == words.size() || !isLetter(words[end])))
            return at;
    }
    return -1;
}

const std::unordered_set<std::string_view> &fontWords()
{
    static const std::unordered_set<std::string_view> words{"f", "af", "deff", "adeff", "stshfdbch",
                                                            "stshfloch", "stshfhich", "stshfbi"};
    return words;
}

const std::unordered_set<std::string_view> &colorWords()
{
    static const std::unordered_set<std::string_view> words{
        "cf", "cb", "highlight", "chcbpat", "chcfpat", "cbpat", "cfpat", "brdrcf", "ulc", "clcbpat",
        "clcfpat", "clcbpatraw", "clcfpatraw", "trcbpat", "trcfpat", "tscellcbpat", "tscellcfpat",
        "pncf", "levelpicturecf", "clbrdrcf"};
    return words;
}

} // namespace

void setKeptWord(QByteArray &words, QByteArrayView name, bool hasParam, int param)
{
    dropKeptWord(words, name);
    if (words.size() >= MaxKeptWords)
        return;
    words.append('\\').append(name.data(), name.size());
    if (hasParam)
        words.append(QByteArray::number(param));
}

void dropKeptWord(QByteArray &words, QByteArrayView name)
{
    if (const qsizetype at = findWord(words, name); at >= 0) {
        qsizetype end = at + 1 + name.size();
        if (end < words.size() && words[end] == '-')
            ++end;
        while (end < words.size() && words[end] >= '0' && words[end] <= '9')
            ++end;
        if (end < words.size() && words[end] == ' ')
            ++end;
        words.remove(at, end - at);
    }
}

QByteArray renumbered(QByteArrayView rtf, const TableNumbers &numbers)
{
    QByteArray out;
    out.reserve(rtf.size());
    Tokenizer tokenizer(rtf);
    qsizetype copied = 0;
    for (;;) {
        const qsizetype before = tokenizer.offset();
        const Tokenizer::Token token = tokenizer.next();
        if (token.kind == Tokenizer::Kind::End || token.kind == Tokenizer::Kind::Error)
            break;
        if (token.kind != Tokenizer::Kind::Word || !token.hasParam)
            continue;
        if (token.text == "bin") {
            tokenizer.takeBinary(token.param);
            continue;
        }
        const std::string_view name(token.text.data(), size_t(token.text.size()));
        const bool font = fontWords().contains(name);
        if (!font && !colorWords().contains(name))
            continue;
        const int number = font ? numbers.font(token.param) : numbers.color(token.param);
        const qsizetype digitsAt = before + 1 + token.text.size();
        qsizetype digitsEnd = digitsAt;
        while (digitsEnd < rtf.size() && (rtf[digitsEnd] == '-' || (rtf[digitsEnd] >= '0' && rtf[digitsEnd] <= '9')))
            ++digitsEnd;
        out.append(rtf.sliced(copied, digitsAt - copied));
        out.append(QByteArray::number(number));
        copied = digitsEnd;
    }
    out.append(rtf.sliced(copied));
    return out;
}

} // namespace rtf
