#pragma once

#include <stdexcept>

namespace uzuviv {

// A failed file operation, by the runtime's input/output code (2 file not found, 3 invalid
// name, 4 too many open files, 5 access denied, 100 read past the end, 101 disk full,
// 106 invalid numeric input, others "Erreur E/S n"). what() is the French text.
class InOutError : public std::runtime_error {
public:
    explicit InOutError(int code);
    int Code() const { return code_; }

private:
    int code_;
};

} // namespace uzuviv
