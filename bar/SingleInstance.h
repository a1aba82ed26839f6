#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

namespace valdora::bar {

/// One bar per user. The first start holds a lock in the user's store folder and listens on a local
/// socket named after that folder, in the user's socket folder; a later start finds the lock held and
/// asks the first, through the socket, to show its bar. Both ends talk only to their own user.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    /// How a later start ended its request.
    enum class Handover {
        Shown,    ///< the running bar answered: it shows itself
        NoAnswer, ///< a bar holds the lock but does not answer (starting, hung or gone)
        Refused,  ///< the socket is another user's, or the socket folder is unsafe: nothing was sent
                  ///< (refusal() says why)
    };

    /// `storeFolder` is the per-user store's folder: two users, or two test stores, never meet.
    explicit SingleInstance(const QString& storeFolder, QObject* parent = nullptr);
    ~SingleInstance() override;

    /// True when this is the only bar of the user: the lock is taken and the socket listens (unless
    /// listenProblem() says why not).
    bool claim();
    /// After a claim that failed: no bar holds the lock, the lock could not be made at all (the store
    /// folder cannot be written, or is no folder).
    bool storeUnwritable() const { return m_storeUnwritable; }
    const QString& storeFolder() const { return m_storeFolder; }
    /// Asks the running bar to show itself; waits at most `timeoutMs` for its answer.
    Handover askRunningToShow(int timeoutMs = 3000);
    /// After Refused: the sentence that says why.
    const QString& refusal() const { return m_refusal; }
    /// After claim(): why the bar does not listen for later starts; empty when it does.
    const QString& listenProblem() const { return m_listenProblem; }

    /// The socket's name for this store folder (a name in the user's socket folder).
    static QString serverName(const QString& storeFolder);

signals:
    /// A later start asked this bar to show itself.
    void showRequested();

private:
    void answerConnection();

    QString m_storeFolder;
    QLockFile m_lock;
    std::unique_ptr<QLocalServer> m_server;
    QString m_refusal;
    QString m_listenProblem;
    bool m_storeUnwritable = false;
};

} // namespace valdora::bar
