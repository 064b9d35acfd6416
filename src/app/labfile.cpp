#include "app/labfile.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QString>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <span>
#include <sstream>
#include <string_view>

#include "app/exports.h"
#include "core/equationitems.h"
#include "runtime/exceptions.h"

namespace metopt::app {

namespace {

using S = TSettings;

struct TextKey {
    const char* key;
    std::string S::*member;
};
constexpr TextKey TextKeys[] = {
    {"x0", &S::x0},
    {"y0", &S::y0},
    {"eps", &S::eps},
    {"step", &S::step},
    {"radius", &S::radius},
    {"levelStep", &S::levelStep},
    {"levelWidth", &S::levelWidth},
    {"xb", &S::xb},
    {"xe", &S::xe},
    {"yb", &S::yb},
    {"ye", &S::ye},
    {"xc", &S::xc},
    {"yc", &S::yc},
    {"xs", &S::xs},
    {"ys", &S::ys},
    {"sgxs", &S::sgxs},
    {"sgys", &S::sgys},
    {"constraints", &S::constraints},
    {"r0", &S::penaltyStart},
    {"growth", &S::penaltyGrowth},
    {"outerEps", &S::outerEps},
    {"learningRate", &S::learningRate},
    {"momentum", &S::momentum},
    {"decay", &S::decay},
    {"beta1", &S::beta1},
    {"beta2", &S::beta2},
    {"noise", &S::noise},
    {"seed", &S::seed},
};

struct WholeKey {
    const char* key;
    std::int32_t S::*member;
    SpinRange range;
};
constexpr WholeKey WholeKeys[] = {{"frameTime", &S::frameTime, FrameTimeRange},
                                  {"gradientColors", &S::gradientColors, GradientColorsRange}};

struct BoolKey {
    const char* key;
    bool S::*member;
};
constexpr BoolKey BoolKeys[] = {{"transparent", &S::transparent},
                                {"startMarker", &S::startMarker},
                                {"smallGrid", &S::smallGrid},
                                {"bigGrid", &S::bigGrid},
                                {"axes", &S::axes},
                                {"numbers", &S::numbers},
                                {"hatchInfeasible", &S::hatchInfeasible},
                                {"biasCorrection", &S::biasCorrection},
                                {"stepVectors", &S::stepVectors}};

// A list's item by name; null for no item (typed text in the list).
struct NamedKey {
    const char* key;
    int S::*member;
    std::span<const std::string_view> words;
};
const NamedKey NamedKeys[] = {{"method", &S::method, MethodWords},
                              {"fill", &S::fill, FillWords},
                              {"levels", &S::level, LevelWords},
                              {"constraintMethod", &S::constraintMethod, ConstraintMethodWords}};

// The keys of the constraints and of the methods of machine learning, written only when they
// differ from the window's start, so that a lab that uses neither is written as before them.
constexpr std::string_view OptionalKeys[] = {
    "constraints",  "r0",       "growth",     "outerEps", "hatchInfeasible", "constraintMethod",
    "learningRate", "momentum", "decay",      "beta1",    "beta2",           "biasCorrection",
    "noise",        "seed",     "stepVectors"};

template <class Key>
bool LeftOut(const Key& key, const TSettings& s) {
    static const TSettings start;
    return std::ranges::find(OptionalKeys, std::string_view(key.key)) != std::end(OptionalKeys) &&
           s.*key.member == start.*key.member;
}

// What the file says beside the settings.
struct LabTextKey {
    const char* key;
    std::string TLab::*member;
};
constexpr LabTextKey LabTextKeys[] = {
    {"title", &TLab::title}, {"task", &TLab::task}, {"palette", &TLab::palette}};

constexpr const char* OtherKeys[] = {"format",   "version",  "function",  "formula",
                                     "stopRule", "compared", "lineSearch"};

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

[[noreturn]] void Refuse(const std::string& what) {
    throw runtime::Exception("Файл работы: " + what);
}

[[noreturn]] void RefuseKey(const char* key, const std::string& what) {
    Refuse(std::string("ключ \"") + key + "\": " + what);
}

std::string WordsText(std::span<const std::string_view> words) {
    std::string text;
    for (const std::string_view word : words)
        text += (text.empty() ? "" : ", ") + std::string(word);
    return text;
}

std::string TextOf(const QJsonObject& file, const char* key) {
    const QJsonValue value = file.value(QLatin1String(key));
    if (!value.isString())
        RefuseKey(key, "ожидается текст");
    return value.toString().toStdString();
}

long WholeOf(const QJsonObject& file, const char* key, long minValue, long maxValue) {
    const QJsonValue value = file.value(QLatin1String(key));
    const double number = value.toDouble();
    if (!value.isDouble() || std::floor(number) != number)
        RefuseKey(key, "ожидается целое число");
    if (number < static_cast<double>(minValue) || number > static_cast<double>(maxValue))
        RefuseKey(key, "число вне диапазона " + std::to_string(minValue) + ".." +
                           std::to_string(maxValue));
    return static_cast<long>(number);
}

// The index of a word; `nullable`: null gives -1.
int WordOf(const QJsonValue& value, const char* key, std::span<const std::string_view> words,
           bool nullable) {
    if (nullable && value.isNull())
        return -1;
    if (!value.isString())
        RefuseKey(key, "ожидается одно из: " + WordsText(words) + (nullable ? ", null" : ""));
    const std::string word = value.toString().toStdString();
    const auto found = std::ranges::find(words, std::string_view(word));
    if (found == words.end())
        RefuseKey(key, "неизвестное имя \"" + word + "\"");
    return static_cast<int>(found - words.begin());
}

QJsonValue WordValue(int index, std::span<const std::string_view> words) {
    if (index < 0 || index >= static_cast<int>(words.size()))
        return QJsonValue(QJsonValue::Null);
    return Q(words[static_cast<std::size_t>(index)]);
}

QJsonObject ParseObject(const std::string& text) {
    const QByteArray bytes = QByteArray::fromStdString(text);
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError) {
        // Qt's offset stands just past the character it stopped at.
        const QByteArray before = bytes.left(std::max<qsizetype>(error.offset - 1, 0));
        const qsizetype lineStart = before.lastIndexOf('\n') + 1;
        const qsizetype column = QString::fromUtf8(before.mid(lineStart)).size() + 1;
        Refuse("строка " + std::to_string(before.count('\n') + 1) + ", столбец " +
               std::to_string(column) + ": " + error.errorString().toStdString());
    }
    if (!document.isObject())
        Refuse("ожидается объект JSON");
    return document.object();
}

void ReadFormat(const QJsonObject& file) {
    if (file.value(QLatin1String("format")).toString() != QLatin1String(LabFormatName))
        RefuseKey("format", std::string("ожидается \"") + LabFormatName + "\"");
    const long version = WholeOf(file, "version", 1, 1000000);
    if (version > LabFormatVersion)
        Refuse("версия " + std::to_string(version) + " не поддерживается (эта программа читает " +
               std::to_string(LabFormatVersion) + ")");
}

void ReadEquation(const QJsonObject& file, TSettings& settings) {
    const bool item = file.contains(QLatin1String("function"));
    const bool formula = file.contains(QLatin1String("formula"));
    if (item && formula)
        Refuse("ключи \"function\" и \"formula\" вместе");
    if (item) {
        settings.equationItem =
            static_cast<int>(WholeOf(file, "function", 0, core::EquationItemCount - 1));
        settings.equationText =
            core::EquationItems()[static_cast<std::size_t>(settings.equationItem)];
    } else if (formula) {
        settings.equationItem = -1;
        settings.equationText = TextOf(file, "formula");
    }
}

void ReadCompared(const QJsonObject& file, TSettings& settings) {
    const QJsonValue value = file.value(QLatin1String("compared"));
    if (!value.isArray())
        RefuseKey("compared", "ожидается список методов");
    std::vector<bool> checked(std::size(MethodWords), false);
    for (const QJsonValue& method : value.toArray())
        checked[static_cast<std::size_t>(WordOf(method, "compared", MethodWords, false))] = true;
    settings.compared.clear();
    for (std::size_t i = 0; i < checked.size(); ++i) {
        if (checked[i])
            settings.compared.push_back(static_cast<int>(i));
    }
}

}  // namespace

std::string LabText(const TLab& lab) {
    const TSettings& s = lab.settings;
    QJsonObject file;
    file.insert(QLatin1String("format"), QLatin1String(LabFormatName));
    file.insert(QLatin1String("version"), LabFormatVersion);
    for (const LabTextKey& key : LabTextKeys)
        file.insert(QLatin1String(key.key), Q(lab.*key.member));
    if (s.equationItem >= 0)
        file.insert(QLatin1String("function"), s.equationItem);
    else
        file.insert(QLatin1String("formula"), Q(s.equationText));
    for (const TextKey& key : TextKeys) {
        if (!LeftOut(key, s))
            file.insert(QLatin1String(key.key), Q(s.*key.member));
    }
    for (const WholeKey& key : WholeKeys)
        file.insert(QLatin1String(key.key), s.*key.member);
    for (const BoolKey& key : BoolKeys) {
        if (!LeftOut(key, s))
            file.insert(QLatin1String(key.key), s.*key.member);
    }
    for (const NamedKey& key : NamedKeys) {
        if (!LeftOut(key, s))
            file.insert(QLatin1String(key.key), WordValue(s.*key.member, key.words));
    }
    file.insert(QLatin1String("stopRule"), WordValue(static_cast<int>(s.stopRule), StopRuleWords));
    file.insert(QLatin1String("lineSearch"),
                WordValue(static_cast<int>(s.lineSearch), core::LineSearchWords));
    QJsonArray compared;
    for (const int item : s.compared)
        compared.append(WordValue(item, MethodWords));
    file.insert(QLatin1String("compared"), compared);
    return QJsonDocument(file).toJson(QJsonDocument::Indented).toStdString();
}

TLabRead ReadLab(const std::string& text) {
    const QJsonObject file = ParseObject(text);
    ReadFormat(file);
    TLabRead read;
    TLab& lab = read.lab;
    TSettings& s = lab.settings;
    const auto has = [&](const char* key) { return file.contains(QLatin1String(key)); };
    for (const LabTextKey& key : LabTextKeys) {
        if (has(key.key))
            lab.*key.member = TextOf(file, key.key);
    }
    ReadEquation(file, s);
    for (const TextKey& key : TextKeys) {
        if (has(key.key))
            s.*key.member = TextOf(file, key.key);
    }
    for (const WholeKey& key : WholeKeys) {
        if (has(key.key))
            s.*key.member = static_cast<std::int32_t>(
                WholeOf(file, key.key, key.range.minValue, key.range.maxValue));
    }
    for (const BoolKey& key : BoolKeys) {
        if (!has(key.key))
            continue;
        const QJsonValue value = file.value(QLatin1String(key.key));
        if (!value.isBool())
            RefuseKey(key.key, "ожидается true или false");
        s.*key.member = value.toBool();
    }
    for (const NamedKey& key : NamedKeys) {
        if (has(key.key))
            s.*key.member = WordOf(file.value(QLatin1String(key.key)), key.key, key.words, true);
    }
    if (has("stopRule"))
        s.stopRule = static_cast<core::TStopRule>(
            WordOf(file.value(QLatin1String("stopRule")), "stopRule", StopRuleWords, false));
    if (has("lineSearch"))
        s.lineSearch = static_cast<core::TLineSearch>(WordOf(
            file.value(QLatin1String("lineSearch")), "lineSearch", core::LineSearchWords, false));
    if (has("compared"))
        ReadCompared(file, s);

    for (auto it = file.begin(); it != file.end(); ++it) {
        const std::string key = it.key().toStdString();
        const auto named = [&](const auto& keys) {
            return std::ranges::any_of(keys, [&](const auto& k) { return key == k.key; });
        };
        const bool known = named(TextKeys) || named(WholeKeys) || named(BoolKeys) ||
                           named(NamedKeys) || named(LabTextKeys) ||
                           std::ranges::any_of(OtherKeys, [&](const char* k) { return key == k; });
        if (!known)
            read.unknownKeys.push_back(key);
    }
    return read;
}

void SaveLab(const std::string& fileName, const TLab& lab) {
    WriteText(fileName, LabText(lab));
}

TLabRead OpenLab(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        throw runtime::Exception("Cannot read " + fileName);
    std::ostringstream text;
    text << in.rdbuf();
    return ReadLab(text.str());
}

std::string UnknownKeysText(const std::vector<std::string>& keys) {
    if (keys.empty())
        return "";
    std::string names;
    for (const std::string& key : keys)
        names += (names.empty() ? "\"" : ", \"") + key + "\"";
    return keys.size() == 1 ? "Файл работы: неизвестный ключ " + names + " пропущен"
                            : "Файл работы: неизвестные ключи " + names + " пропущены";
}

}  // namespace metopt::app
