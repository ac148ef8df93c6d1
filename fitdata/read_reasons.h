// The French reasons the file readers give for a failure, kept in a ReadNote.
#pragma once

#include <string>

struct ReadNote;

// The system's text for an errno value ("No such file or directory").
std::string SystemReason(int error);

// "ce n'est pas <what> (taille <size> octets)": a binary file of none of its form's sizes.
std::string WrongSizeReason(const char* what, long size);

// "<count> <noun>", the noun taking an "s" from 2 on ("1 point", "0 point", "3 points").
std::string Counted(long long count, const char* noun);

// Stores `reason` in `note` when there is one.
void Tell(ReadNote* note, std::string reason);
