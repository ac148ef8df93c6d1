// The French reasons the file readers give for a failure.
#include "fitdata/read_reasons.h"

#include <cstring>
#include <utility>

#include "fitdata/fit_data.h"

std::string SystemReason(int error) {
    return std::strerror(error);
}

std::string WrongSizeReason(const char* what, long size) {
    return std::string("ce n'est pas ") + what + " (taille " + Counted(size, "octet") + ")";
}

std::string Counted(long long count, const char* noun) {
    return std::to_string(count) + " " + noun + (count >= 2 ? "s" : "");
}

void Tell(ReadNote* note, std::string reason) {
    if (note != nullptr) note->reason = std::move(reason);
}
