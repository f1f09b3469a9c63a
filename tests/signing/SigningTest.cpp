// Signed records on both engines: signing locks a Worksheet against every way a save could
// replace it, a correction supersedes it, bad input signs nothing, and a change made with plain
// SQL, or an audit entry removed, is found at the next start and by --verify.
#include <sodium.h>

#include <sstream>

#include "app/VerifyCommand.h"
#include "store/Audit.h"
#include "store/Signing.h"
#include "store/Verify.h"
#include "tests/store/StoreFixture.h"

namespace wb {
namespace {

constexpr const char* kPassphrase = "correct horse battery";

class SigningTest : public test::BothEnginesTest {
  protected:
    void SetUp() override {
        // The slowest limits are for the program; the suite needs no protection from guessing.
        SealingCost() = {crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN};
        test::BothEnginesTest::SetUp();
    }

    std::int64_t Signer(const std::string& name = "J. Smith") {
        return AddSigner(db(), name, "A&P", "3456789", kPassphrase);
    }
    // Signs the Worksheet on screen through the window, the passphrase typed as given.
    void Sign(std::initializer_list<std::optional<std::string>> passphrases, size_t signer = 0) {
        dialogs.picks.push_back(signer);
        for (const auto& p : passphrases)
            dialogs.passwords.push_back(p);
        form.Clicked(Control::Command3D41);  // the button is on the history panel
        form.Clicked(Control::SignButton);
        if (form.Visible(Control::Panel3D12)) form.Clicked(Control::Command3D41);
    }
    bool Signed(const std::string& tail, const std::string& isoDate) {
        return SignatureOf(db(), tail, isoDate).has_value();
    }
    std::string LastNotice() const { return dialogs.shown.empty() ? "" : dialogs.shown.back().title; }
    std::string LastText() const { return dialogs.shown.empty() ? "" : dialogs.shown.back().text; }
};

class SigningFileTest : public SigningTest {
  protected:
    test::Engine engine() const override { return test::Engine::File; }
};

TEST_P(SigningTest, ASignedWorksheetIsLockedAndACorrectionSupersedesIt) {
    New();
    FillWorksheet();
    Save();
    Signer();
    LoadBySearch("O'NEIL");
    Sign({"wrong passphrase", kPassphrase});
    ASSERT_EQ(LastNotice(), "Worksheet signed");
    EXPECT_NE(LastText().find("Signed electronically by J. Smith, A&P 3456789, on "), std::string::npos);
    ASSERT_TRUE(Signed("O'NEIL", "2001-06-10"));
    const auto before = test::Dump(db());

    // Save over it, rename it, delete it with the tail "0": each refused with the reason.
    struct Attempt {
        const char* what;
        Control box;
        const char* text;
    };
    for (const Attempt& a :
         {Attempt{"save over", Control::Text3, "Cessna"}, Attempt{"rename", Control::Text1, "N9"},
          Attempt{"delete", Control::Text1, "0"}}) {
        SCOPED_TRACE(a.what);
        LoadBySearch("O'NEIL");
        Set(a.box, a.text);
        dialogs.Clear();
        Save();
        EXPECT_EQ(LastNotice(), "Worksheet not saved");
        EXPECT_NE(LastText().find("was signed by J. Smith"), std::string::npos) << LastText();
        EXPECT_EQ(test::Dump(db()), before);
    }

    // A correction under a later date, with its reason: the signed one stays as it was signed.
    LoadBySearch("O'NEIL");
    Set(Control::Text3, "Piper Corrected");
    Set(Control::Text7, "06-11-2001");
    dialogs.answers.push_back(true);
    dialogs.texts.push_back("Wrong make");
    Save();
    EXPECT_EQ(form.ScreenSaved, 1);
    const auto correction = CorrectionOf(db(), "O'NEIL", "2001-06-10");
    ASSERT_TRUE(correction);
    EXPECT_EQ(correction->correctionDate, "2001-06-11");
    EXPECT_EQ(correction->reason, "Wrong make");
    EXPECT_EQ(Count("SELECT count(*) FROM Aircraft WHERE Make = 'Piper'"), 1);
    form.Clicked(Control::Command3D41);  // the history shows both, the signed one superseded
    ASSERT_EQ(form.historyMarks.size(), 1u);
    EXPECT_NE(form.historyMarks[0].note.find("superseded by the correction of 06-11-2001: Wrong make"),
              std::string::npos);
    EXPECT_FALSE(form.historyMarks[0].altered);
    EXPECT_TRUE(VerifyRecords(db()).Passed()) << FindingsText(VerifyRecords(db()));
}

TEST_P(SigningTest, BadInputSignsNothingAndSaysWhy) {
    Store("N1", "06-10-2001");
    const std::int64_t retired = Signer("Old Hand");
    RetireSigner(db(), retired);
    Signer("J. Smith");  // listed before the retired one
    EXPECT_THROW(AddSigner(db(), "No Number", "IA", "  ", kPassphrase), SigningRefused);
    EXPECT_THROW(AddSigner(db(), "Short", "IA", "1", "short"), SigningRefused);
    RetireSigner(db(), retired);  // once is enough: no second entry
    // The signers added and retired are in the audit trail; the refused ones are not.
    Statement who = db().Prepare("SELECT Event, Detail FROM AuditTrail WHERE Tail IS NULL ORDER BY Id");
    std::vector<std::string> entries;
    while (who.Step())
        entries.push_back(who.Text(0).value_or("") + ": " + who.Text(1).value_or("").substr(0, 27));
    EXPECT_EQ(entries, (std::vector<std::string>{"add signer: Old Hand, A&P 3456789, key ",
                                                 "retire signer: Old Hand, A&P 3456789, key ",
                                                 "add signer: J. Smith, A&P 3456789, key "}));

    struct Case {
        const char* what;
        std::function<void()> act;
        const char* says;
    };
    const Case cases[] = {
        {"three wrong passphrases",
         [&] {
             Sign({"wrong 1", "wrong 2", "wrong 3"});
         },
         "wrong 3 times"},
        {"a retired signer", [&] { Sign({kPassphrase}, 1); }, "is retired"},
        {"unsaved changes",
         [&] {
             Set(Control::Text3, "Typed, not saved");
             Sign({kPassphrase});
         },
         "Save it first"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LoadBySearch("N1");
        dialogs.Clear();
        dialogs.passwords.clear();
        dialogs.picks.clear();
        c.act();
        EXPECT_EQ(LastNotice(), "Worksheet not signed");
        EXPECT_NE(LastText().find(c.says), std::string::npos) << LastText();
        EXPECT_FALSE(Signed("N1", "2001-06-10"));
        EXPECT_EQ(Count("SELECT count(*) FROM AuditTrail WHERE Event = 'sign'"), 0);
    }
}

TEST_P(SigningTest, AValueChangedWithPlainSqlIsToldAtTheNextStartAndByVerify) {
    Store("N1", "06-10-2001");
    Store("N2", "07-11-2002");
    Signer();
    LoadBySearch("N1");
    Sign({kPassphrase});
    ASSERT_TRUE(Signed("N1", "2001-06-10"));
    db().Exec("UPDATE Aircraft SET MaxWt = 2400 WHERE Tail = 'N1'");
    db().Exec("UPDATE Equipment SET Weight = 26 WHERE Tail = 'N2'");

    test::ScriptedDialogs told;
    const auto next = StartAgain(told);
    ASSERT_FALSE(told.shown.empty());
    const test::Shown& notice = told.shown.back();
    EXPECT_EQ(notice.title, "Records changed");
    EXPECT_NE(notice.text.find("N1 06-10-2001: changed after it was signed by J. Smith on "),
              std::string::npos)
        << notice.text;
    EXPECT_NE(notice.text.find("N2 07-11-2002: changed outside the program"), std::string::npos)
        << notice.text;
    EXPECT_EQ(std::count_if(told.shown.begin(), told.shown.end(),
                            [](const test::Shown& s) { return s.title == "Records changed"; }),
              1);

    std::ostringstream out;
    EXPECT_EQ(VerifyCommand(std::nullopt, temp.path, out), 1);
    EXPECT_NE(out.str().find("FAILED N1 06-10-2001: changed after it was signed by J. Smith"),
              std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find("FAILED N2 07-11-2002"), std::string::npos) << out.str();
}

TEST_P(SigningTest, TheAuditTrailRefusesChangesAndARemovedEntryIsFound) {
    Store("N1", "06-10-2001");
    Store("N2", "07-11-2002");
    Store("N3", "08-12-2003");
    std::ostringstream clean;
    EXPECT_EQ(VerifyCommand(std::nullopt, temp.path, clean), 0) << clean.str();
    EXPECT_THROW(db().Exec("DELETE FROM AuditTrail WHERE Tail = 'N2'"), EngineError);
    EXPECT_THROW(db().Exec("UPDATE AuditTrail SET UserName = 'someone else'"), EngineError);
    // Another tool can drop a trigger; the chain still shows the entry is gone.
    if (engine() == test::Engine::File)
        db().Exec("DROP TRIGGER AuditTrail_NotRemoved");
    else
        db().Exec("ALTER TABLE AuditTrail DISABLE TRIGGER USER");
    db().Exec("DELETE FROM AuditTrail WHERE Tail = 'N2'");
    const Verification v = VerifyRecords(db());
    ASSERT_FALSE(v.Passed());
    EXPECT_NE(FindingsText(v).find("the audit trail was changed, or an entry removed"), std::string::npos)
        << FindingsText(v);
}

// A backup from before the signing lacks the signed record: restoring it would replace it.
TEST_F(SigningFileTest, ARestoreThatWouldReplaceASignedRecordIsRefused) {
    Store("N1", "06-10-2001");
    form.now = [] { return DateTime{{2026, 12, 4}, 12, 0, 0}; };
    form.Clicked(Control::Command3D18);  // Set-up, where Backups is
    dialogs.choices = {0};               // "Back up now"
    form.Clicked(Control::Command3D44);
    ASSERT_EQ(LastNotice(), "Backup made");
    form.Clicked(Control::Command3D18);
    Signer();
    LoadBySearch("N1");
    Sign({kPassphrase});
    ASSERT_TRUE(Signed("N1", "2001-06-10"));
    form.Clicked(Control::Command3D18);
    dialogs.choices = {1};  // "Restore..."
    dialogs.picks = {0};
    dialogs.answers = {true};
    form.Clicked(Control::Command3D44);
    EXPECT_EQ(LastNotice(), "Backup not restored");
    EXPECT_NE(LastText().find("N1 06-10-2001"), std::string::npos) << LastText();
    EXPECT_TRUE(Signed("N1", "2001-06-10"));
}

INSTANTIATE_TEST_SUITE_P(Engines, SigningTest, test::BothEngines(), test::EngineName);

}  // namespace
}  // namespace wb
