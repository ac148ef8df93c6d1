// The formula compiler: text to CompiledFormula, with the syntax error codes and their texts.
#pragma once

#include <string>

#include "formula/compiled_formula.h"

// The common body of both entry points. `letters` is a caller-supplied buffer of 100 characters;
// each distinct letter is appended once and `letterCount` counts them. Any text is safe to give,
// whatever its bytes and length: more than 100 characters other than blanks and tabs give 12.
// error 0 or a SyntaxErrorCode; after a failure the record is partial and not to be evaluated.
void CompileFormula(CompiledFormula& record, const std::string& text, char* letters,
                    int32_t& letterCount, int& error);

// Compiles one parenthesis level with level number `level`; calls itself for every group.
void CompileLevel(CompiledFormula& record, const std::string& text, int& error, int level,
                  char* letters, int32_t& letterCount);

// Scanners used by CompileLevel. Positions count characters from 1.
void StripBlanks(std::string& text, int& error);
void ScanIdentifier(const std::string& text, int& position, std::string& name, int& error);
void ScanOperator(const std::string& text, int& position, int& op, int& error);
void ScanNumber(CompiledFormula& record, const std::string& text, int& position, int& error);

// The French text of a SyntaxErrorCode; "" for a code without a text.
std::string SyntaxErrorText(int code);
std::wstring SyntaxErrorMessage(int code);
