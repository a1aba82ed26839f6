#pragma once

#include <functional>
#include <optional>

namespace valdora::run {

/// The contacts a run covers, as the scope dialog numbers its choices.
enum class Scope { CurrentContact = 0, CurrentLookup = 1, AllContacts = 2 };

/// Asks which contacts a run covers (the scope dialog of the bar; the command line and tests answer
/// without a window).
class ScopeChooser {
public:
    virtual ~ScopeChooser() = default;
    /// The chosen scope, or nullopt when the user cancelled. `otherDatabase` is true when the button
    /// was saved with another database than the one open.
    virtual std::optional<Scope> chooseScope(bool otherDatabase) = 0;

    /// Shows what a run over a scope would write; true when the user chose to run it from there.
    using PreviewOffer = std::function<bool(Scope)>;
    /// While set, the question lets the user preview the run over the scope chosen so far; a choice
    /// to run from the preview answers the question with that scope. Unset: no preview is offered.
    /// Choosers without a window ignore it.
    virtual void offerPreview(PreviewOffer offer) { (void)offer; }
    /// The scope the next question starts with selected (the button's last one); nullopt: none, and
    /// the question cannot be answered until the user chooses. Choosers without a window ignore it.
    virtual void preselect(std::optional<Scope> scope) { (void)scope; }
};

/// Always answers with the same scope (or always cancels).
class FixedScopeChooser final : public ScopeChooser {
public:
    explicit FixedScopeChooser(std::optional<Scope> answer) : m_answer(answer) {}
    std::optional<Scope> chooseScope(bool otherDatabase) override
    {
        m_lastOtherDatabase = otherDatabase;
        return m_answer;
    }
    /// What the last question said about the database.
    bool lastOtherDatabase() const { return m_lastOtherDatabase; }

private:
    std::optional<Scope> m_answer;
    bool m_lastOtherDatabase = false;
};

} // namespace valdora::run
