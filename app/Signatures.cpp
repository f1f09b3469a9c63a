// Signed records at the window: the signers kept at set-up, signing the stored Worksheet on
// screen, a correction of a signed one, the verification beside the window at start-up told
// once, and what the history panel and the reports say of signed records.
#include <map>

#include "app/MainForm.h"
#include "app/ReportLines.h"
#include "store/CaseFold.h"
#include "store/History.h"
#include "store/Records.h"
#include "store/Signing.h"
#include "worksheet/Dates.h"

namespace wb {
namespace {

constexpr const char* kContinue = "\n\nPress OK to continue";
constexpr const char* kSignTitle = "Sign the Worksheet";
constexpr const char* kNotSigned = "Worksheet not signed";

std::string ShownIso(const std::string& iso) {
    const auto d = ParseIsoDate(iso.substr(0, 10));
    return d ? ShownDate(*d) : iso;
}

// "12-07-2026 18:30 UTC"
std::string ShownUtc(const std::string& at) {
    return ShownIso(at) + " " + at.substr(11, 5) + " UTC";
}

std::string Trimmed(const std::string& s) {
    const size_t from = s.find_first_not_of(" \t");
    if (from == std::string::npos) return {};
    return s.substr(from, s.find_last_not_of(" \t") - from + 1);
}

// The stored Worksheet on screen as the store names it: tail and ISO date.
std::optional<std::pair<std::string, std::string>> StoredPair(Database& db, std::int64_t id) {
    Statement s = db.Prepare("SELECT Tail, \"Date\" FROM Aircraft WHERE Id = ?");
    s.Bind(1, id);
    if (!s.Step()) return std::nullopt;
    return std::make_pair(s.Text(0).value_or(""), s.Text(1).value_or(""));
}

}  // namespace

void MainForm::ClickSign() {
    if (!records) {
        dialogs_.Notice(kNotSigned, NoStoreReason() + kContinue, Icon::Exclamation);
        return;
    }
    // A signature covers the Worksheet as it is stored, never what the screen shows unsaved.
    if (ScreenSaved == 0 || !records->OnScreen()) {
        dialogs_.Notice(kNotSigned,
                        std::string("The Worksheet on screen has changes that are not saved. Save it first "
                                    "(SAVE), then sign: a signature covers the Worksheet as it is stored.") +
                            kContinue,
                        Icon::Exclamation);
        return;
    }
    if (const std::string reason = ReadOnlyReason(); !reason.empty()) {
        dialogs_.Notice(kNotSigned, reason + kContinue, Icon::Exclamation);
        return;
    }
    try {
        const std::vector<Signer> signers = ListSigners(records->db());
        if (signers.empty()) {
            dialogs_.Notice(
                kNotSigned,
                std::string("No signer has been added yet. Add the signers at Set-up, Signers.") + kContinue,
                Icon::Exclamation);
            return;
        }
        std::vector<std::string> lines;
        for (const Signer& s : signers)
            lines.push_back(s.Shown() + (s.retired ? " (retired)" : ""));
        const auto picked = dialogs_.PickFromList(kSignTitle, "Who signs this Worksheet?", lines);
        if (!picked || *picked >= signers.size()) return;
        const Signer& signer = signers[*picked];
        if (signer.retired) {
            dialogs_.Notice(kNotSigned,
                            signer.name +
                                " is retired and signs no more. Choose another signer, or add a new "
                                "one at Set-up, Signers." +
                                kContinue,
                            Icon::Exclamation);
            return;
        }
        const std::string statement(kSignStatement);
        for (int attempt = 1; attempt <= kPassphraseTries; ++attempt) {
            std::string text = "\"" + statement + ".\"\n\nSigned by " + signer.Shown() + " (" +
                               Text(Control::Text1) + " " + Text(Control::Text7) +
                               "). Once signed, the Worksheet is locked.\n\n";
            if (attempt > 1)
                text += "The passphrase was wrong (try " + std::to_string(attempt) + " of " +
                        std::to_string(kPassphraseTries) + "). ";
            const auto passphrase = dialogs_.AskPassword(kSignTitle, text + "Passphrase:");
            if (!passphrase) return;
            if (SignWorksheet(records->db(), *records->OnScreen(), signer.id, *passphrase, statement) ==
                SignOutcome::Signed) {
                const std::vector<std::string> lines = SignatureLines();
                if (Visible(Control::Panel3D12)) {
                    ReadHistoryMarks();
                    ++historyReads;
                }
                dialogs_.Notice("Worksheet signed",
                                (lines.empty() ? std::string() : lines[0] + "\n" + lines[1]) + kContinue,
                                Icon::Information);
                return;
            }
        }
        dialogs_.Notice(kNotSigned,
                        "The passphrase was wrong " + std::to_string(kPassphraseTries) +
                            " times. Nothing was signed." + kContinue,
                        Icon::Exclamation);
    } catch (const SigningRefused& e) {
        dialogs_.Notice(kNotSigned, std::string(e.what()) + kContinue, Icon::Exclamation);
    } catch (const std::exception& e) {
        if (!MetDamage(e)) dialogs_.Notice(kNotSigned, std::string(e.what()) + kContinue, Icon::Critical);
    }
}

std::vector<std::string> SignatureLines(Database& db, std::string_view tail, std::string_view isoDate) {
    const auto s = SignatureOf(db, tail, isoDate);
    if (!s) return {};
    return {"Signed electronically by " + s->signerName + ", " + s->Certificate() + ", on " +
                ShownUtc(s->signedAt),
            "Record SHA-256 " + s->hash.substr(0, 16)};
}

std::vector<std::string> MainForm::SignatureLines() {
    if (!records || !records->OnScreen() || ScreenSaved == 0) return {};
    try {
        Database& db = records->db();
        const auto pair = StoredPair(db, *records->OnScreen());
        if (!pair) return {};
        return wb::SignatureLines(db, pair->first, pair->second);
    } catch (const std::exception&) {
        return {};
    }
}

bool MainForm::SavedAsCorrection(bool searchPath) {
    if (!records || !records->OnScreen()) return false;
    Database& db = records->db();
    const auto pair = StoredPair(db, *records->OnScreen());
    if (!pair) return false;
    const auto signature = SignatureOf(db, pair->first, pair->second);
    const auto typed = ParseTypedDate(Text(Control::Text7));
    if (!signature || !typed || Text(Control::Text1) == "0") return false;
    const std::string date = IsoDate(*typed);
    if (Text(Control::Text1) != pair->first && FoldCase(Text(Control::Text1)) != FoldCase(pair->first))
        return false;
    if (date <= pair->second) return false;  // the save itself is refused with the reason
    if (!dialogs_.AskYesNo("Correct a signed Worksheet",
                           "The Worksheet of " + pair->first + " " + ShownIso(pair->second) +
                               " was signed by " + signature->signerName + " on " +
                               ShownIso(signature->signedAt) + ". Save the screen as a correction dated " +
                               Text(Control::Text7) +
                               " that supersedes it? The signed Worksheet stays as it was signed."))
        return false;
    const auto reason =
        dialogs_.AskText("Correct a signed Worksheet", "Why is the signed Worksheet corrected?");
    if (!reason) return true;
    try {
        records->SaveCorrection(ws, searchPath, pair->second, Trimmed(*reason));
    } catch (const SigningRefused& e) {
        dialogs_.Notice("Worksheet not saved", std::string(e.what()) + kContinue, Icon::Exclamation);
        return true;
    }
    ScreenSaved = 1;
    ++Saves;
    LastSaved = "Correction of " + Text(Control::Text1) + " " + ShownIso(pair->second) + " saved";
    return true;
}

void MainForm::ClickSigners() {
    if (!records) {
        dialogs_.Notice("Signers", NoStoreReason() + kContinue, Icon::Information);
        return;
    }
    try {
        std::string text = "Signers kept in the shop database:\n";
        const std::vector<Signer> signers = ListSigners(records->db());
        for (const Signer& s : signers)
            text += "\n" + s.Shown() + (s.retired ? "  (retired)" : "");
        if (signers.empty()) text += "\nnone yet";
        text +=
            "\n\nA signer's key is sealed with their passphrase, which is never stored: a forgotten "
            "passphrase "
            "means a new signer with a new key (retire the old one; its signatures still verify).";
        const size_t picked = dialogs_.Choose("Signers", text, {"Add signer...", "Retire signer...", "Close"},
                                              Icon::Information);
        if (picked == 0) AddSignerAsked();
        if (picked == 1) RetireSignerAsked();
    } catch (const std::exception& e) {
        if (!MetDamage(e)) dialogs_.Notice("Signers", std::string(e.what()) + kContinue, Icon::Critical);
    }
}

void MainForm::AddSignerAsked() {
    const auto name = dialogs_.AskText("Add signer", "Name, as the signer signs:");
    if (!name) return;
    std::vector<std::string> kinds(std::begin(kCertificateKinds), std::end(kCertificateKinds));
    kinds.emplace_back("Cancel");
    const size_t kind = dialogs_.Choose("Add signer", "Kind of certificate of " + Trimmed(*name) + ":", kinds,
                                        Icon::Question);
    if (kind + 1 >= kinds.size()) return;
    const auto number = dialogs_.AskText("Add signer", "Certificate number (" + kinds[kind] + "):");
    if (!number) return;
    const auto passphrase =
        dialogs_.AskPassword("Add signer", "Passphrase of " + Trimmed(*name) + " (at least " +
                                               std::to_string(kShortestPassphrase) +
                                               " characters; only the signer should know it):");
    if (!passphrase) return;
    const auto again = dialogs_.AskPassword("Add signer", "The same passphrase again:");
    if (!again) return;
    if (*again != *passphrase) {
        dialogs_.Notice("Signer not added",
                        std::string("The two passphrases differ. Nothing was stored.") + kContinue,
                        Icon::Exclamation);
        return;
    }
    try {
        AddSigner(records->db(), Trimmed(*name), kinds[kind], Trimmed(*number), *passphrase);
        dialogs_.Notice("Signer added", Trimmed(*name) + " can sign from any workstation." + kContinue,
                        Icon::Information);
    } catch (const SigningRefused& e) {
        dialogs_.Notice("Signer not added", std::string(e.what()) + kContinue, Icon::Exclamation);
    }
}

void MainForm::RetireSignerAsked() {
    std::vector<Signer> active;
    for (const Signer& s : ListSigners(records->db()))
        if (!s.retired) active.push_back(s);
    std::vector<std::string> lines;
    for (const Signer& s : active)
        lines.push_back(s.Shown());
    const auto picked = dialogs_.PickFromList("Retire signer", "Who signs no more?", lines);
    if (!picked || *picked >= active.size()) return;
    RetireSigner(records->db(), active[*picked].id);
}

void MainForm::ReadHistoryMarks() {
    historyMarks.clear();
    historyAudit.clear();
    if (!records) return;
    Database& db = records->db();
    const std::string& tail = history.tail;
    // The history verifies as it opens; what the start-up found besides stays marked too.
    const Verification now = VerifyTail(db, tail);
    for (const SignatureInfo& s : SignaturesOf(db, tail)) {
        HistoryMark mark;
        mark.date = ShownIso(s.date);
        mark.note = "Signed by " + s.signerName + ", " + s.Certificate() + " on " + ShownUtc(s.signedAt);
        if (const auto c = CorrectionOf(db, s.tail, s.date))
            mark.note +=
                "; superseded by the correction of " + ShownIso(c->correctionDate) + ": " + c->reason;
        if (const VerifyFinding* f = now.For(s.tail, s.date)) {
            mark.altered = true;
            mark.note = f->text;
        }
        historyMarks.push_back(std::move(mark));
    }
    for (const VerifyFinding& f : verification.findings)
        if (!f.signedRecord && !f.date.empty() && FoldCase(f.tail) == FoldCase(tail))
            historyMarks.push_back({ShownIso(f.date), f.text, true});
    historyAudit = WholeAuditTrailOf(db, tail);
}

void MainForm::BeginVerification(std::function<Database()> connect) {
    auto result = std::make_shared<Verification>();
    auto failure = std::make_shared<std::string>();
    AsideWork work{[result, failure, connect = std::move(connect)](Progress& progress) {
                       try {
                           Database db = connect();
                           *result = VerifyRecords(db, progress);
                       } catch (const std::exception& e) {
                           *failure = e.what();
                       }
                   },
                   [this, result, failure] { VerificationFinished(*result, *failure); },
                   {},
                   false};
    RunAsideWork(std::move(work));
}

void MainForm::VerificationFinished(const Verification& result, const std::string& failure) {
    verification = result;
    verified = failure.empty();
    if (!failure.empty()) {
        dialogs_.Notice(
            "Records not verified",
            "The signed records and the audit trail could not be verified: " + failure + kContinue,
            Icon::Exclamation);
        return;
    }
    if (result.Passed()) return;
    dialogs_.Notice(
        "Records changed",
        "These records no longer match what was signed or saved: they were changed, or removed, "
        "outside this program.\n\n" +
            FindingsText(result) +
            "\n\nThe history panel marks them in red. Keep the database as it is and find out who "
            "changed it; a backup from before the change holds the records as they were." +
            kContinue,
        Icon::Critical);
}

}  // namespace wb
