#include "core/formula/formula1d.h"

#include <utility>
#include <vector>

#include "core/formula/formulaerror.h"
#include "core/formula/lexer.h"
#include "core/formula/parser.h"

namespace metopt::core {

namespace {

// A name t (or T) of the text: its byte and the character position the lexer gives it.
struct TName {
    std::size_t byte;
    std::size_t position;
};

// The character positions of the names t, in order. A number beyond the extended range ends the
// list: the parse names that fault, or one before it.
std::vector<std::size_t> PositionsOfT(std::string_view text) {
    std::vector<std::size_t> positions;
    try {
        formula::TLexer lexer(text);
        for (formula::TToken token = lexer.Next(); token.kind != formula::TToken::Kind::End;
             token = lexer.Next()) {
            if (token.kind == formula::TToken::Kind::Name && token.name == "t")
                positions.push_back(token.position);
        }
    } catch (const EFormulaError&) {
    }
    return positions;
}

// The names t with their bytes. A byte below 0x80 always begins a character of its own, so the
// characters before such a byte are counted from the previous one.
std::vector<TName> NamesOfT(std::string_view text) {
    const std::vector<std::size_t> positions = PositionsOfT(text);
    std::vector<TName> names;
    std::size_t counted = 0;  // the characters before byte `from`
    std::size_t from = 0;
    for (std::size_t i = 0; i < text.size() && names.size() < positions.size(); ++i) {
        if (text[i] != 't' && text[i] != 'T')
            continue;
        counted += formula::CharacterCount(text.substr(from, i - from));
        from = i;
        if (counted + 1 == positions[names.size()])
            names.push_back({i, counted + 1});
    }
    return names;
}

// The same letter for x: one character for one, so that every position stays the one typed.
char AsX(char t) {
    return t == 't' ? 'x' : 'X';
}

std::string TextOfX(std::string_view text, const std::vector<TName>& names) {
    std::string ofX(text);
    for (const TName& name : names)
        ofX[name.byte] = AsX(ofX[name.byte]);
    return ofX;
}

// A fault at a name t that quotes it ("нет знака действия перед ...") quotes it as typed.
EFormulaError AsTyped(const EFormulaError& error, std::string_view text,
                      const std::vector<TName>& names) {
    for (const TName& name : names) {
        if (name.position != error.Position())
            continue;
        const std::string typed = "\"" + std::string(1, text[name.byte]) + "\"";
        const std::string read = "\"" + std::string(1, AsX(text[name.byte])) + "\"";
        std::string detail = error.Detail();
        if (const std::size_t at = detail.find(read); at != std::string::npos)
            detail.replace(at, read.size(), typed);
        return EFormulaError(error.Position(), detail);
    }
    return error;
}

// The first y of the tree, by position, is a fault.
void RefuseY(const formula::TSyntaxTree& tree) {
    std::size_t first = 0;
    for (const formula::TSyntaxNode& node : tree.nodes) {
        const bool isY =
            node.kind == formula::TSyntaxNode::Kind::Variable && node.op == formula::Op::Y;
        if (isY && (first == 0 || node.position < first))
            first = node.position;
    }
    if (first != 0)
        throw EFormulaError(first, "в функции одной переменной нет y: пишите x или t");
}

}  // namespace

TFormula1D::TFormula1D(std::string text, std::shared_ptr<const TFormula> ofX)
    : text_(std::move(text)), ofX_(std::move(ofX)) {}

long double TFormula1D::Value(long double x) const {
    return ofX_->Value(x, 0);
}

std::shared_ptr<const TFormula1D> CompileFormula1D(std::string_view text) {
    const std::vector<TName> names = NamesOfT(text);
    const std::string ofX = TextOfX(text, names);
    try {
        RefuseY(formula::ParseFormula(ofX));
        return std::make_shared<const TFormula1D>(std::string(text), CompileFormula(ofX));
    } catch (const EFormulaError& error) {
        throw AsTyped(error, text, names);
    }
}

}  // namespace metopt::core
