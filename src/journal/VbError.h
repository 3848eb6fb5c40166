#pragma once
// A run-time error as the rest of the program reports it: the error number,
// its description and the routine it was raised from (e.g. 6 "Overflow"
// from "CGUnZipFiles::Unzip").

#include <QString>
#include <new>
#include <stdexcept>

class VbError : public std::runtime_error {
public:
    VbError(int number, const QString& description, const QString& source = QString())
        : std::runtime_error(description.toStdString()), number_(number), description_(description),
          source_(source)
    {
    }
    int number() const { return number_; }
    const QString& description() const { return description_; }
    const QString& source() const { return source_; }
    // The same error raised again from another routine.
    VbError withSource(const QString& source) const { return VbError(number_, description_, source); }

private:
    int number_;
    QString description_;
    QString source_;
};

namespace vberr {
inline constexpr int TypeMismatch = 13;
inline constexpr int Overflow = 6;
inline constexpr int OutOfMemory = 7;
inline constexpr int Internal = 51;
}  // namespace vberr

// Called inside a catch block: raises the exception being handled again as
// an error from `source`. Out of memory becomes error 7, any other standard
// exception error 51; exceptions of other kinds go on unchanged.
[[noreturn]] inline void RaiseFrom(const QString& source)
{
    try {
        throw;
    } catch (const VbError& e) {
        throw e.withSource(source);
    } catch (const std::bad_alloc&) {
        throw VbError(vberr::OutOfMemory, QStringLiteral("Out of memory"), source);
    } catch (const std::exception& e) {
        throw VbError(vberr::Internal, QString::fromLocal8Bit(e.what()), source);
    }
}
