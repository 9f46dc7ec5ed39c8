// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "archive/NameRefusal.h"

namespace brasvel {
namespace {

std::string quoted(const std::string& name) {
    return "\"" + name + "\"";
}

std::string tooLong(const char* what, const NameRefusal& refusal) {
    return std::string(what) + " too long: " + std::to_string(refusal.length) + " bytes, at most " +
           std::to_string(refusal.most);
}

}  // namespace

std::string nameRefusalText(const NameRefusal& refusal) {
    switch (refusal.reason) {
        case NameRefusalReason::Empty:
            return "the name is empty";
        case NameRefusalReason::NotWindows1250:
            return quoted(refusal.name) + " has a character that Windows-1250 cannot write";
        case NameRefusalReason::HasNul:
            return "the name contains the control byte 0x00";
        case NameRefusalReason::TooLong:
            return tooLong("name", refusal);
        case NameRefusalReason::StemTooLong:
            return tooLong("name before the extension", refusal);
        case NameRefusalReason::ExtensionTooLong:
            return tooLong("extension", refusal);
        case NameRefusalReason::ReadsBackOtherwise:
            return quoted(refusal.name) + " would read back as " + quoted(refusal.other);
        case NameRefusalReason::UnsafeFileName:
            return refusal.why;
        case NameRefusalReason::Taken:
            return quoted(refusal.name) + " is taken: an entry is named " + quoted(refusal.other);
    }
    return refusal.why;
}

}  // namespace brasvel
