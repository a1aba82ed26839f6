#pragma once

#include "Failure.h"

#include <QString>

#include <concepts>
#include <exception>
#include <functional>
#include <new>
#include <optional>
#include <stdexcept>
#include <utility>

namespace valdora {

class Platform;

enum class RoutineKind { Sub, Function };

/// The name of a trapped routine as its report shows it: module, kind and name.
struct Routine {
    const char* module;
    RoutineKind kind;
    const char* name;

    /// "in <module>: Sub|Function <name> - Line # "
    QString locationText() const;
};

/// The report text: "Error " n ": '" description "'" CR "in ... - Line # " line CR CR supportMessage.
QString errorReportText(const Failure& failure, const Routine& routine, const QString& supportMessage);

/// Shows the common failure report through the platform seam: OK only, captioned with the
/// application title and " error". The support message (message 300 in the current language) is
/// fetched when a report is shown, so a language chosen after start-up applies.
class ErrorReporter {
public:
    ErrorReporter(Platform& platform, QString applicationTitle, std::function<QString()> supportMessage);

    void report(const Failure& failure, const Routine& routine) const;
    /// Reports shown so far; a run compares it before and after to learn that something failed.
    int reportCount() const { return m_reportCount; }
    Platform& platform() const { return m_platform; }
    const QString& applicationTitle() const { return m_applicationTitle; }

private:
    Platform& m_platform;
    QString m_applicationTitle;
    std::function<QString()> m_supportMessage;
    mutable int m_reportCount = 0; // counting is no change of what the reporter is
};

/// Runs the body of a named routine under the common trap. On a failure the report is shown and
/// false is returned; the routine then returns whatever it holds at that moment. A Failure names the
/// line of its statement; other exceptions are mapped to the nearest error number, with line 0.
///
///   QString result;
///   trapped(reporter, {"frmMain", RoutineKind::Function, "Obtain_Age"}, [&] { ... result = ...; });
///   return result;
template <std::invocable Body>
bool trapped(const ErrorReporter& reporter, const Routine& routine, Body&& body)
{
    try {
        std::forward<Body>(body)();
        return true;
    } catch (const Failure& failure) {
        reporter.report(failure, routine);
    } catch (const std::bad_alloc&) {
        reporter.report(Failure(ErrorNumber::OutOfMemory, Where{}), routine);
    } catch (const std::out_of_range&) {
        // An index past the end of a list or text (std::vector::at, std::string::at...).
        reporter.report(Failure(ErrorNumber::SubscriptOutOfRange, Where{}), routine);
    } catch (const std::bad_optional_access&) {
        // A value that was never set.
        reporter.report(Failure(ErrorNumber::ObjectNotSet, Where{}), routine);
    } catch (const std::exception& other) {
        reporter.report(
            Failure(ErrorNumber::InvalidProcedureCall, QString::fromLocal8Bit(other.what()), Where{}),
            routine);
    }
    return false;
}

} // namespace valdora
