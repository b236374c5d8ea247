// The spell check (F7) of the 1,000-page document through the built-in "Word.Basic" server, with the
// spelling dialog filled for every question: the time until the first unknown word is shown, and the
// whole pass with Ignore All answered to every word. The floor is Hunspell alone: the dictionary
// loaded, every word of the text checked, and suggestions made for each distinct unknown word (the
// dialog shows them); for the first word, the words up to and including the first unknown one.
#include "editor/rich_text_box.h"
#include "tools/spelling/automation.h"
#include "tools/spelling/hunspell_engine.h"
#include "tools/spelling/spell_check.h"
#include "tools/spelling/spelling_dialog.h"
#include "tools/spelling/word_basic.h"
#include "support/large_document.h"
#include "support/ratio_table.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSet>
#include <QStringEncoder>
#include <benchmark/benchmark.h>
#include <hunspell.hxx>
#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

using namespace velmobench;

namespace {

RichTextBox *editor = nullptr;

DictionaryFiles dictionary()
{
    static const DictionaryFiles files = [] {
        const auto found = findDictionary(QStringLiteral("en_US"), standardDictionaryFolders());
        if (!found)
            qFatal("no en_US dictionary");
        return *found;
    }();
    return files;
}

// Answers every question as the spelling dialog's own buttons would, after filling the dialog with it.
class DialogAnswers : public SpellingPrompt
{
public:
    explicit DialogAnswers(SpellingAnswer::Action action) : action_(action) { clock_.start(); }

    SpellingAnswer ask(const SpellingQuestion &question) override
    {
        dialog_.present(question);
        if (questions_++ == 0)
            firstShownMs_ = double(clock_.nsecsElapsed()) / 1e6;
        return {action_, {}};
    }

    double firstShownMs() const { return firstShownMs_; }
    int questions() const { return questions_; }

private:
    SpellingDialog dialog_;
    SpellingAnswer::Action action_;
    QElapsedTimer clock_;
    double firstShownMs_ = -1;
    int questions_ = 0;
};

// One F7 on the document; the prompt's clock starts with it.
std::shared_ptr<DialogAnswers> spellCheck(SpellingAnswer::Action action, double *totalMs)
{
    auto answers = std::make_shared<DialogAnswers>(action);
    AutomationRegistry registry;
    registerWordBasic(registry, {QStringLiteral("en_US"), {}, answers});
    QString reason;
    *totalMs = millisecondsOf([&] {
        if (!ChkSpell(*editor, registry, &reason))
            qFatal("the spell check failed: %s", qPrintable(reason));
    });
    return answers;
}

void firstMisspelling(benchmark::State &state)
{
    for (auto _ : state) {
        double total = 0;
        const auto answers = spellCheck(SpellingAnswer::Close, &total);
        state.SetIterationTime(answers->firstShownMs() / 1000);
    }
}

void ignoreAllPass(benchmark::State &state)
{
    int questions = 0;
    for (auto _ : state) {
        double total = 0;
        questions = spellCheck(SpellingAnswer::IgnoreAll, &total)->questions();
        state.SetIterationTime(total / 1000);
    }
    state.counters["questions"] = questions;
}

bool isWordLetter(QChar c) { return c.isLetterOrNumber() || c.isMark(); }
bool isApostrophe(QChar c) { return c == QLatin1Char('\'') || c == QChar(0x2019); }

// The document's words in the dictionary's encoding, cut as the check cuts them; words with digits are
// not checked.
std::vector<std::string> wordsOfDocument()
{
    const QString text = editor->Text();
    QStringEncoder utf8(QStringEncoder::Utf8);
    std::vector<std::string> words;
    for (qsizetype i = 0; i < text.size();) {
        if (!isWordLetter(text[i])) {
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < text.size() && (isWordLetter(text[end]) ||
                                     (isApostrophe(text[end]) && end + 1 < text.size() && isWordLetter(text[end + 1]))))
            end += isWordLetter(text[end]) ? 1 : 2;
        const QStringView word = QStringView(text).mid(i, end - i);
        if (std::none_of(word.begin(), word.end(), [](QChar c) { return c.isDigit(); }))
            words.push_back(QByteArray(utf8.encode(word)).toStdString());
        i = end;
    }
    return words;
}

// Hunspell over the words; stops after the first unknown word when `firstOnly`.
void hunspellAlone(benchmark::State &state, bool firstOnly)
{
    const std::vector<std::string> words = wordsOfDocument();
    const DictionaryFiles files = dictionary();
    for (auto _ : state) {
        Hunspell hunspell(QFile::encodeName(files.affix).constData(), QFile::encodeName(files.words).constData());
        std::set<std::string> asked;
        std::size_t suggestions = 0;
        for (const std::string &word : words) {
            if (hunspell.spell(word) || asked.count(word))
                continue;
            asked.insert(word);
            suggestions += hunspell.suggest(word).size();
            if (firstOnly)
                break;
        }
        benchmark::DoNotOptimize(suggestions);
    }
    state.counters["words"] = double(words.size());
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RichTextBox box;
    editor = &box;
    box.LoadFile(largeDocumentFile());
    std::printf("document: %d pages, %d characters\n", Pages, box.document()->characterCount());
    const auto timed = [](benchmark::internal::Benchmark *b) { b->Iterations(1)->Unit(benchmark::kMillisecond); };
    timed(benchmark::RegisterBenchmark("floor/hunspell_to_first_unknown", hunspellAlone, true));
    timed(benchmark::RegisterBenchmark("spelling/first_misspelling", firstMisspelling)->UseManualTime());
    timed(benchmark::RegisterBenchmark("floor/hunspell_all_words", hunspellAlone, false));
    timed(benchmark::RegisterBenchmark("spelling/ignore_all_pass", ignoreAllPass)->UseManualTime());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printTable({{"first misspelling shown", "spelling/first_misspelling", "floor/hunspell_to_first_unknown", 1.5},
                         {"whole pass, Ignore All", "spelling/ignore_all_pass", "floor/hunspell_all_words", 1.5}});
    benchmark::Shutdown();
    editor = nullptr;
    return 0;
}
