#pragma once

#include <QString>

namespace valdora::triggers {

/// Where Keelbrook was when something failed, for its error report: the path of the procedures
/// entered since the start (never cleared) and how far the last one got.
class KeelbrookTrace {
public:
    /// A traced procedure begins: its name and "/" join the path and the marker goes back to 0.
    void enter(const QString& procedure)
    {
        m_path += procedure + u'/';
        m_currently = 0;
    }
    /// The procedure has reached this stage (1, 2 ...; a field id while the report lists triggers).
    void reach(qint16 stage) { m_currently = stage; }

    /// "Form_Load/cmdAddTrigger/check_trigger(4)/".
    const QString& path() const { return m_path; }
    qint16 currently() const { return m_currently; }

private:
    QString m_path;
    qint16 m_currently = 0;
};

} // namespace valdora::triggers
