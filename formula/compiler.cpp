// The formula compiler: one recursive level per parenthesis group, operator-precedence to postfix.
#include "formula/compiler.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "common/assert.h"
#include "common/text_conversion.h"

namespace {

// A level's text holds at most this many characters once blanks are gone; a longer formula is
// refused, and that bound is what keeps `code`, `constants` and the level buffers large enough:
// every character yields at most one opcode, except a sign at the start of the formula (two) or
// of a group (two, but then the group's two parentheses yield none).
constexpr int MAX_TEXT_LENGTH = 100;
// Blanks appended to a level's text so that every scanner may look past its end.
constexpr int END_MARKER_LENGTH = 100;
// A "(" is refused once this many groups have been opened on the way to it.
constexpr int MAX_PARENTHESIS_COUNTER = 30;
constexpr int MAX_IDENTIFIER_LENGTH = 12;
constexpr int MAX_CONSTANT_LENGTH = 12;
// Size of the caller-supplied letter list.
constexpr int LETTER_LIST_SIZE = 100;

// The character at 1-based `position`, or a blank outside the text, as the end marker would be.
char At(const std::string& text, int position) {
    if (position < 1 || static_cast<size_t>(position) > text.size()) return ' ';
    return text[static_cast<size_t>(position) - 1];
}

bool IsLetter(char c) {
    return c >= 'A' && c <= 'Z';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsOperatorCharacter(char c) {
    return c == '+' || c == '-' || c == '*' || c == '/' || c == '^';
}

int Precedence(int32_t opcode) {
    for (const FormulaOperator& entry : FORMULA_OPERATORS) {
        if (entry.opcode == opcode) return entry.precedence;
    }
    KURVO_ASSERT(false && "not an operator opcode");
    return 0;
}

// The opcode of a function name, 0 when the name is none.
int32_t FunctionOpcode(const std::string& name) {
    for (const FormulaFunction& entry : FORMULA_FUNCTIONS) {
        if (name == entry.name) return entry.opcode;
    }
    return 0;
}

// `opCount` is the 1-based number of the next free entry while compiling.
void Emit(CompiledFormula& record, int32_t opcode) {
    KURVO_ASSERT(record.opCount >= 1 && record.opCount <= FORMULA_MAX_OPCODES);
    record.code[record.opCount - 1] = opcode;
    ++record.opCount;
}

void StoreConstant(CompiledFormula& record, double value) {
    KURVO_ASSERT(record.constCount >= 0 && record.constCount < FORMULA_MAX_CONSTANTS);
    ++record.constCount;
    record.constants[record.constCount - 1] = value;
}

void AddLetter(char letter, char* letters, int32_t& letterCount) {
    for (int32_t i = 0; i < letterCount; ++i) {
        if (letters[i] == letter) return;
    }
    KURVO_ASSERT(letterCount >= 0 && letterCount < LETTER_LIST_SIZE);
    letters[letterCount++] = letter;
}

bool HasLetter(char letter, const char* letters, int32_t letterCount) {
    for (int32_t i = 0; i < letterCount; ++i) {
        if (letters[i] == letter) return true;
    }
    return false;
}

// Opcodes waiting in a level: pending functions or operators. Never more than the level's
// characters, hence the fixed size.
struct OpcodeStack {
    int32_t items[MAX_TEXT_LENGTH];
    int count = 0;

    void Push(int32_t opcode) {
        KURVO_ASSERT(count < MAX_TEXT_LENGTH);
        items[count++] = opcode;
    }
    int32_t Top() const { return items[count - 1]; }
    void EmitTop(CompiledFormula& record) { Emit(record, items[--count]); }
    // Most recent first.
    void EmitAll(CompiledFormula& record) {
        while (count > 0) EmitTop(record);
    }
};

}  // namespace

void StripBlanks(std::string& text, int& error) {
    if (text.empty()) {
        error = 11;
        return;
    }
    std::string rest;
    for (char c : text) {
        if (c == ' ' || c == '\t') continue;
        if (rest.size() == MAX_TEXT_LENGTH) {
            error = 12;
            return;
        }
        rest += c;
    }
    text = std::move(rest);
    error = 0;
}

void ScanIdentifier(const std::string& text, int& position, std::string& name, int& error) {
    error = 16;
    int end = position;
    while (IsLetter(At(text, end)) || IsDigit(At(text, end))) {
        if (end - position + 1 > MAX_IDENTIFIER_LENGTH) return;
        ++end;
    }
    name.assign(text, static_cast<size_t>(position) - 1, static_cast<size_t>(end - position));
    position = end;
    error = 0;
}

void ScanOperator(const std::string& text, int& position, int& op, int& error) {
    error = 17;
    // The longest entry of the table that matches, so "**" wins over "*".
    int length = 0;
    for (const FormulaOperator& entry : FORMULA_OPERATORS) {
        const int entryLength = static_cast<int>(std::strlen(entry.text));
        bool matches = entryLength > length;
        for (int i = 0; matches && i < entryLength; ++i) {
            matches = At(text, position + i) == entry.text[i];
        }
        if (matches) {
            length = entryLength;
            op = entry.opcode;
        }
    }
    if (length == 0 || IsOperatorCharacter(At(text, position + length))) return;
    position += length;
    error = 0;
}

void ScanNumber(CompiledFormula& record, const std::string& text, int& position, int& error) {
    const int start = position;
    bool seenPoint = false;
    bool seenExponent = false;
    char previous = '\0';
    int end = start;
    for (; end <= start + MAX_CONSTANT_LENGTH; ++end) {
        const char c = At(text, end);
        if (c == '.') {
            if (seenPoint || seenExponent) {
                error = 18;
                return;
            }
            seenPoint = true;
        } else if (c == 'E') {
            if (seenExponent) {
                error = 19;
                return;
            }
            // "1.E5" is refused, "12.E5" is not.
            if (previous == '.' && end == start + 2) {
                error = 20;
                return;
            }
            seenExponent = true;
        } else if (c == '+' || c == '-') {
            if (previous != 'E') break;
        } else if (!IsDigit(c)) {
            break;
        }
        previous = c;
    }
    // The 13th character still belonged to the constant.
    if (end > start + MAX_CONSTANT_LENGTH) {
        error = 20;
        return;
    }
    // sscanf must see the constant's characters only, not what follows them.
    char characters[MAX_CONSTANT_LENGTH + 1];
    const int length = end - start;
    for (int i = 0; i < length; ++i) characters[i] = At(text, start + i);
    characters[length] = '\0';
    double value = 0.0;
    if (std::sscanf(characters, "%lf", &value) != 1) {
        error = 21;
        return;
    }
    StoreConstant(record, value);
    position = end;
    error = 0;
}

void CompileLevel(CompiledFormula& record, const std::string& text, int& error, int level,
                  char* letters, int32_t& letterCount) {
    std::string marked = text;
    StripBlanks(marked, error);
    if (error != 0) return;
    const int length = static_cast<int>(marked.size());
    // Only the whole formula can be empty here (a group "()" is refused before): blanks only.
    if (length == 0) {
        error = 11;
        return;
    }
    marked.append(END_MARKER_LENGTH, ' ');

    OpcodeStack operators;
    OpcodeStack pendingFunctions;
    const int maxSteps = static_cast<int>(marked.size()) + 9;
    int steps = 0;
    int position = 1;
    while (position <= length) {
        // Every branch consumes at least one character; this only guards against one that does not.
        if (++steps > maxSteps) {
            error = 1;
            return;
        }
        const char c = At(marked, position);
        if (c == '(') {
            error = 13;
            if (level > MAX_PARENTHESIS_COUNTER) return;
            int close = position + 1;
            for (int depth = 1;; ++close) {
                if (close > length) {
                    error = 16;
                    return;
                }
                const char d = At(marked, close);
                if (d == '(') ++depth;
                if (d == ')' && --depth == 0) break;
            }
            if (close == position + 1) {
                error = 14;
                return;
            }
            ++level;
            error = 0;
            CompileLevel(record,
                         marked.substr(static_cast<size_t>(position),
                                       static_cast<size_t>(close - position - 1)),
                         error, level, letters, letterCount);
            if (error != 0) return;
            pendingFunctions.EmitAll(record);
            position = close + 1;
        } else if (IsDigit(c) || c == '.') {
            ScanNumber(record, marked, position, error);
            if (error != 0) return;
            Emit(record, OP_PUSHCONST);
            pendingFunctions.EmitAll(record);
        } else if (IsLetter(c)) {
            std::string name;
            ScanIdentifier(marked, position, name, error);
            if (error != 0) return;
            if (const int32_t function = FunctionOpcode(name)) {
                pendingFunctions.Push(function);
                continue;
            }
            if (name == "PI") {
                StoreConstant(record, std::atan(1.0) * 4.0);
                Emit(record, OP_PUSHCONST);
            } else if (name.size() > 1) {
                error = 8;
                return;
            } else {
                AddLetter(name[0], letters, letterCount);
                Emit(record, LETTER_OPCODES[name[0] - 'A']);
            }
            pendingFunctions.EmitAll(record);
        } else if (IsOperatorCharacter(c)) {
            const int start = position;
            int op = 0;
            ScanOperator(marked, position, op, error);
            if (error != 0) return;
            if ((op == OP_ADD || op == OP_SUB) && start == 1) {
                // A leading sign is the binary operator with 0 on its left.
                StoreConstant(record, 0.0);
                Emit(record, OP_PUSHCONST);
            } else {
                // Pop every operator that binds at least as tightly: left associativity.
                while (operators.count > 0 && Precedence(operators.Top()) >= Precedence(op)) {
                    operators.EmitTop(record);
                }
            }
            operators.Push(op);
        } else {
            error = 4;
            return;
        }
    }
    pendingFunctions.EmitAll(record);
    operators.EmitAll(record);
}

void CompileFormula(CompiledFormula& record, const std::string& text, char* letters,
                    int32_t& letterCount, int& error) {
    // Only a..z are raised, whatever the locale; bytes 0x80..0xFF stay as they are.
    std::string upper = text;
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    record.opCount = 1;
    letterCount = 0;
    record.constCount = 0;
    error = 0;
    CompileLevel(record, upper, error, 0, letters, letterCount);
    --record.opCount;
}

void CompiledFormula::CompileFunction(const std::string& text, int& nCoef, int& error) {
    char letters[LETTER_LIST_SIZE];
    CompileFormula(*this, text, letters, letterCount, error);
    if (error != 0) return;
    nCoef = letterCount - 1;
    for (int i = 0; i < nCoef; ++i) {
        if (!HasLetter(static_cast<char>('A' + i), letters, letterCount)) {
            error = 99;
            return;
        }
    }
    if (!HasLetter('X', letters, letterCount) || nCoef < 1 || nCoef > 6) error = 99;
}

void CompiledFormula::CompileExpression(const std::wstring& text, int& error) {
    char letters[LETTER_LIST_SIZE];
    CompileFormula(*this, WideToNarrow(text), letters, letterCount, error);
}

std::string SyntaxErrorText(int code) {
    switch (code) {
        case 1:
            return "Erreur Compilateur : Bouclage infini";
        case 4:
            return "Erreur de Syntaxe Generale";
        case 5:
            return "Erreur de chargement de la pile";
        case 8:
            return "Variable Fonction ou Coefficient inconnu";
        case 11:
            return "La chaine est vide !";
        case 12:
            return "La chaine est trop grande (plus de 100 caracteres)";
        case 13:
            return "Trop de parentheses (trop de recurence)";
        case 14:
            return "Chaine vide entre  '(' et ')'";
        case 15:
            return "Erreur de syntaxe entre 2 parentheses";
        case 16:
            return "niveau de parenthese incorrect ou constante trop longue";
        case 17:
            return "2 operateurs se suivent";
        case 18:
            return "Erreur de syntaxe dans une constante : 2 points";
        case 19:
            return "Erreur de syntaxe dans une constante : constante vide";
        case 20:
            return "Erreur de syntaxe dans une constante : constante illisible";
        case 21:
            return "Nombre illisible";
        case 99:
            return "Variable X absente ou les Coefficients ne se suivent pas";
        default:
            return "";
    }
}

std::wstring SyntaxErrorMessage(int code) {
    return NarrowToWide(SyntaxErrorText(code));
}
