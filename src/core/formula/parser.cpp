#include "core/formula/parser.h"

#include <string>
#include <utility>
#include <vector>

#include "core/formula/formulaerror.h"
#include "core/formula/lexer.h"

namespace metopt::core::formula {

namespace {

using Kind = TSyntaxNode::Kind;

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

bool IsReservedName(const std::string& name) {
    return name == "x" || name == "y" || name == "pi" || name == "e" ||
           FunctionNamed(name) != Op::X;
}

class Parser {
  public:
    // With `relation`, the expression is a comparison and its kind goes there.
    Parser(std::string_view text, TRelation* relation) : lexer_(text), relation_(relation) {}

    TSyntaxTree Parse() {
        token_ = lexer_.Next();
        if (token_.kind == TToken::Kind::End)
            throw EFormulaError(1, "пустая формула");
        // Definitions with no expression before them.
        if (IsSign(','))
            Fail(token_.position, "пустая формула");
        tree_.first = 0;
        tree_.root = Expression();
        if (relation_)
            tree_.root = Comparison(tree_.root);
        ExpectEndOfExpression();
        while (IsSign(',')) {
            ParseDefinition();
        }
        ResolveReferences();
        OrderDefinitions();
        return std::move(tree_);
    }

  private:
    // --- Tokens ---

    bool IsSign(char sign) const {
        return token_.kind == TToken::Kind::Sign && token_.sign == sign;
    }
    void Advance() {
        previous_ = std::move(token_);
        hasPrevious_ = true;
        token_ = lexer_.Next();
    }
    [[noreturn]] static void Fail(std::size_t position, const std::string& detail) {
        throw EFormulaError(position, detail);
    }
    // Where a fault at the current token is shown: the token, or the one before at the end.
    std::size_t HerePosition() const {
        return token_.kind == TToken::Kind::End && hasPrevious_ ? previous_.position
                                                                : token_.position;
    }
    bool StartsOperand() const {
        return token_.kind == TToken::Kind::Number || token_.kind == TToken::Kind::Name ||
               IsSign('(');
    }
    // A fault of a token that cannot stand where it is: an unknown character, an operand right
    // after an operand, or else `detail`.
    [[noreturn]] void FailHere(const std::string& detail) const {
        if (token_.kind == TToken::Kind::Unknown)
            Fail(token_.position, "недопустимый знак " + Quoted(token_.text));
        if (StartsOperand())
            Fail(token_.position, "нет знака действия перед " + Quoted(token_.text));
        Fail(HerePosition(), detail);
    }

    void Enter(std::size_t position) {
        if (++depth_ > MaxNesting)
            Fail(position, "вложенность глубже " + std::to_string(MaxNesting) + " уровней");
    }
    void Leave() { --depth_; }

    // --- Nodes ---

    int Add(TSyntaxNode node) {
        tree_.nodes.push_back(std::move(node));
        return static_cast<int>(tree_.nodes.size()) - 1;
    }
    int Leaf(Kind kind, std::size_t position) {
        TSyntaxNode node;
        node.kind = kind;
        node.position = position;
        return Add(std::move(node));
    }
    int Operation(Kind kind, Op op, int a, int b, std::size_t position) {
        TSyntaxNode node;
        node.kind = kind;
        node.op = op;
        node.a = a;
        node.b = b;
        node.position = position;
        return Add(std::move(node));
    }

    // --- Grammar ---

    int Expression() {
        int left = Term();
        while (IsSign('+') || IsSign('-')) {
            const Op op = token_.sign == '+' ? Op::Add : Op::Sub;
            const std::size_t at = token_.position;
            Advance();
            const int right = Term();
            left = Operation(Kind::Binary, op, left, right, at);
        }
        return left;
    }

    int Term() {
        int left = Unary();
        while (IsSign('*') || IsSign('/')) {
            const Op op = token_.sign == '*' ? Op::Mul : Op::Div;
            const std::size_t at = token_.position;
            Advance();
            const int right = Unary();
            left = Operation(Kind::Binary, op, left, right, at);
        }
        return left;
    }

    // Signs in front are counted, not recursed into; a plus changes nothing.
    int Unary() {
        std::vector<std::size_t> minuses;
        while (IsSign('-') || IsSign('+')) {
            if (token_.sign == '-')
                minuses.push_back(token_.position);
            Advance();
        }
        int operand = Power();
        for (auto at = minuses.rbegin(); at != minuses.rend(); ++at)
            operand = Operation(Kind::Unary, Op::Neg, operand, -1, *at);
        return operand;
    }

    int Power() {
        const int base = Operand();
        if (!IsSign('^'))
            return base;
        const std::size_t at = token_.position;
        Enter(at);
        Advance();
        const int exponent = Unary();
        Leave();
        return Operation(Kind::Binary, Op::Pow, base, exponent, at);
    }

    int Operand() {
        if (token_.kind == TToken::Kind::Number) {
            const int node = Leaf(Kind::Number, token_.position);
            tree_.nodes[static_cast<std::size_t>(node)].value = token_.value;
            Advance();
            return node;
        }
        if (token_.kind == TToken::Kind::Name)
            return NamedOperand();
        if (IsSign('(')) {
            Enter(token_.position);
            Advance();
            const int inside = Expression();
            ExpectClosing();
            Leave();
            return inside;
        }
        if (token_.kind == TToken::Kind::Unknown)
            Fail(token_.position, "недопустимый знак " + Quoted(token_.text));
        if (hasPrevious_)
            Fail(HerePosition(), "нет числа или скобки после " + Quoted(previous_.text));
        Fail(HerePosition(), "нет числа или скобки в начале формулы");
    }

    int NamedOperand() {
        const TToken name = token_;
        Advance();
        if (name.name == "x" || name.name == "y") {
            const int node = Leaf(Kind::Variable, name.position);
            tree_.nodes[static_cast<std::size_t>(node)].op = name.name == "x" ? Op::X : Op::Y;
            return node;
        }
        if (name.name == "pi" || name.name == "e") {
            const int node = Leaf(Kind::Constant, name.position);
            TSyntaxNode& constant = tree_.nodes[static_cast<std::size_t>(node)];
            constant.name = name.name;
            constant.value = name.name == "pi" ? 3.14159265358979323846264338327950288L
                                               : 2.71828182845904523536028747135266250L;
            return node;
        }
        if (const Op function = FunctionNamed(name.name); function != Op::X) {
            if (!IsSign('('))
                Fail(HerePosition(), "ожидается \"(\" после " + Quoted(name.text));
            Enter(token_.position);
            Advance();
            const int argument = Expression();
            ExpectClosing();
            Leave();
            return Operation(Kind::Unary, function, argument, -1, name.position);
        }
        if (IsSign('('))
            Fail(name.position, "неизвестное имя " + Quoted(name.text));
        const int node = Leaf(Kind::Reference, name.position);
        tree_.nodes[static_cast<std::size_t>(node)].name = name.name;
        references_.push_back({node, name.text});
        return node;
    }

    // --- Constraints ---

    // The sign of a comparison at the current token, consumed: +1 for "<=", -1 for ">=", 0 for
    // "=".
    int RelationSign() {
        const bool less =
            token_.kind == TToken::Kind::Unknown && (token_.text == "<" || token_.text == "\u2264");
        const bool greater =
            token_.kind == TToken::Kind::Unknown && (token_.text == ">" || token_.text == "\u2265");
        if (IsSign('=')) {
            Advance();
            return 0;
        }
        if (!less && !greater)
            Fail(HerePosition(), "ожидается знак сравнения <=, >= или =");
        const bool typedAlone = token_.text.size() == 1;
        Advance();
        if (typedAlone && IsSign('='))
            Advance();
        return less ? 1 : -1;
    }

    // left (relation) right as g: left − right, or right − left for ">=".
    int Comparison(int left) {
        const std::size_t at = token_.position;
        const int sign = RelationSign();
        if (token_.kind == TToken::Kind::End || IsSign(','))
            Fail(HerePosition(), "нет выражения после знака сравнения");
        const int right = Expression();
        *relation_ = sign == 0 ? TRelation::Equal : TRelation::LessEqual;
        return sign >= 0 ? Operation(Kind::Binary, Op::Sub, left, right, at)
                         : Operation(Kind::Binary, Op::Sub, right, left, at);
    }

    void ExpectClosing() {
        if (!IsSign(')'))
            FailHere("ожидается \")\"");
        Advance();
    }

    void ExpectEndOfExpression() {
        if (token_.kind != TToken::Kind::End && !IsSign(','))
            FailHere("лишние знаки после конца формулы");
    }

    void ParseDefinition() {
        Advance();  // the comma
        if (token_.kind != TToken::Kind::Name)
            FailHere("ожидается имя определения после \",\"");
        TSyntaxTree::Definition definition;
        definition.name = token_.name;
        definition.position = token_.position;
        if (IsReservedName(definition.name))
            Fail(token_.position, "имя " + Quoted(token_.text) + " нельзя определить");
        for (const auto& earlier : tree_.definitions) {
            if (earlier.name == definition.name)
                Fail(token_.position, "определение " + Quoted(token_.text) + " уже есть");
        }
        const std::string typed = token_.text;
        Advance();
        if (!IsSign('='))
            Fail(HerePosition(), "ожидается \"=\" после " + Quoted(typed));
        Advance();
        definition.first = static_cast<int>(tree_.nodes.size());
        definition.root = Expression();
        ExpectEndOfExpression();
        tree_.definitions.push_back(std::move(definition));
    }

    // --- Definitions ---

    struct Reference {
        int node;
        std::string typed;
    };

    void ResolveReferences() {
        for (const Reference& reference : references_) {
            TSyntaxNode& node = tree_.nodes[static_cast<std::size_t>(reference.node)];
            for (std::size_t d = 0; d < tree_.definitions.size(); ++d) {
                if (tree_.definitions[d].name == node.name)
                    node.definition = static_cast<int>(d);
            }
            if (node.definition < 0)
                throw EFormulaError(node.position, "неизвестное имя " + Quoted(reference.typed));
        }
    }

    // The references of each definition, as node indices.
    std::vector<std::vector<int>> ReferencesByDefinition() const {
        std::vector<std::vector<int>> uses(tree_.definitions.size());
        for (std::size_t d = 0; d < tree_.definitions.size(); ++d) {
            const auto& definition = tree_.definitions[d];
            for (int i = definition.first; i <= definition.root; ++i) {
                if (tree_.nodes[static_cast<std::size_t>(i)].kind == Kind::Reference)
                    uses[d].push_back(i);
            }
        }
        return uses;
    }

    // A depth-first walk with a stack of its own: each definition is placed after those it
    // uses; a reference back to one still being walked closes a cycle.
    void OrderDefinitions() {
        const std::vector<std::vector<int>> uses = ReferencesByDefinition();
        enum State { Unseen, Walking, Placed };
        std::vector<State> state(uses.size(), Unseen);
        struct Frame {
            int definition;
            std::size_t next;
        };
        for (std::size_t start = 0; start < uses.size(); ++start) {
            if (state[start] != Unseen)
                continue;
            std::vector<Frame> stack{{static_cast<int>(start), 0}};
            state[start] = Walking;
            while (!stack.empty()) {
                Frame& frame = stack.back();
                const auto d = static_cast<std::size_t>(frame.definition);
                if (frame.next == uses[d].size()) {
                    state[d] = Placed;
                    tree_.definitionOrder.push_back(frame.definition);
                    stack.pop_back();
                    continue;
                }
                const TSyntaxNode& reference =
                    tree_.nodes[static_cast<std::size_t>(uses[d][frame.next++])];
                const auto used = static_cast<std::size_t>(reference.definition);
                if (state[used] == Walking) {
                    throw EFormulaError(reference.position,
                                        "определение " + Quoted(tree_.definitions[used].name) +
                                            " ссылается само на себя");
                }
                if (state[used] == Unseen) {
                    state[used] = Walking;
                    stack.push_back({reference.definition, 0});
                }
            }
        }
    }

    TLexer lexer_;
    TRelation* relation_ = nullptr;
    TToken token_;
    TToken previous_;
    bool hasPrevious_ = false;
    int depth_ = 0;
    TSyntaxTree tree_;
    std::vector<Reference> references_;
};

}  // namespace

namespace {

void CheckLength(std::string_view text) {
    if (CharacterCount(text) > MaxFormulaLength) {
        throw EFormulaError(MaxFormulaLength + 1,
                            "формула длиннее " + std::to_string(MaxFormulaLength) + " знаков");
    }
}

}  // namespace

TSyntaxTree ParseFormula(std::string_view text) {
    CheckLength(text);
    return Parser(text, nullptr).Parse();
}

TConstraintTree ParseConstraint(std::string_view text) {
    CheckLength(text);
    TConstraintTree constraint;
    constraint.tree = Parser(text, &constraint.relation).Parse();
    return constraint;
}

}  // namespace metopt::core::formula
