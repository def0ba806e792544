// A print command goes to the printer that was chosen, or asks, and counts as
// printed only when the print system has finished the job.
#include <gtest/gtest.h>

#include <QPrinter>
#include <QProcess>
#include <thread>

#include "CupsTestUtil.h"
#include "output/DesignPrinting.h"

namespace {

bool HaveServer() { return !qEnvironmentVariable("ZB_CUPS_OUT").isEmpty(); }

} // namespace

// An instance nobody set up is no printer; a printer set up before that is
// gone since is replaced by the default one only when the user agrees.
TEST(CupsPrinting, AGonePrinterIsNeverReplacedUnasked) {
    if (!HaveServer()) {
        if (zb::test::Required()) FAIL() << "kein Test-CUPS-Server";
        GTEST_SKIP() << "no private CUPS server (scripts/cups-test-server.sh)";
    }
    QPrinter printer(QPrinter::HighResolution);
    EXPECT_EQ(zb::ChoosePrinter(printer, "ZB_PDF/kopie", {}).message, "Der Drucker „ZB_PDF/kopie“ ist nicht vorhanden.");

    const QString device = zb::test::RunTool("lpstat", {"-v", "ZB_PDF"}).section(": ", 1).trimmed();
    ASSERT_FALSE(device.isEmpty());
    struct Case {
        std::optional<bool> answer; // none: no question can be asked
        zb::JobResult::Kind kind;
        std::string message;
        QString printerAfter;
    };
    const Case cases[] = {
        {std::nullopt, zb::JobResult::Kind::Failed, "Der eingerichtete Drucker „ZB_WEG“ ist nicht mehr vorhanden.",
         "ZB_WEG"},
        {false, zb::JobResult::Kind::Cancelled, "", "ZB_WEG"},
        {true, zb::JobResult::Kind::Done, "", "ZB_PDF"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(QProcess::execute("lpadmin", {"-p", "ZB_WEG", "-E", "-v", device}), 0);
        ASSERT_TRUE(zb::ChoosePrinter(printer, "ZB_WEG", {}).ok());
        ASSERT_EQ(QProcess::execute("lpadmin", {"-x", "ZB_WEG"}), 0);
        QStringList asked;
        zb::OtherPrinterQuestion question;
        if (c.answer)
            question = [&](const QString& gone, const QString& instead) {
                asked << gone << instead;
                return *c.answer;
            };
        const zb::JobResult result = zb::ChoosePrinter(printer, QString(), {}, question);
        EXPECT_EQ(result.kind, c.kind);
        EXPECT_EQ(result.message, c.message);
        EXPECT_EQ(asked, c.answer ? QStringList({"ZB_WEG", "ZB_PDF"}) : QStringList());
        EXPECT_EQ(printer.printerName(), c.printerAfter);
    }
}

// A job the print system takes and then cancels is a failure, not "printed".
TEST(CupsPrinting, AJobCancelledAfterItWasTakenIsNotCountedAsPrinted) {
    if (!HaveServer()) {
        if (zb::test::Required()) FAIL() << "kein Test-CUPS-Server";
        GTEST_SKIP() << "no private CUPS server (scripts/cups-test-server.sh)";
    }
    zb::Design design;
    zb::test::SampleDesign(design);
    design.Paper.PrintAll = false;
    design.Paper.Breit = 3;
    design.Paper.Hoch = 2;
    QPrinter printer(QPrinter::HighResolution);
    ASSERT_TRUE(zb::ChoosePrinter(printer, QString(), {}).ok());
    // The stopped queue keeps the job waiting until someone cancels it.
    ASSERT_EQ(QProcess::execute("cupsdisable", {"ZB_PDF"}), 0);
    std::thread canceller([] {
        std::this_thread::sleep_for(std::chrono::seconds(3));
        QProcess::execute("cancel", {"-a", "ZB_PDF"});
    });
    zb::DesignPrintJob job;
    job.design = &design;
    const zb::PrintOutcome outcome = zb::PrintDesign(printer, job);
    canceller.join();
    EXPECT_EQ(QProcess::execute("cupsenable", {"ZB_PDF"}), 0);
    EXPECT_NE(outcome.result.message.find("Der Auftrag wurde vom Drucksystem abgebrochen."), std::string::npos)
        << outcome.result.message;
    EXPECT_EQ(outcome.result.message.find(".."), std::string::npos) << outcome.result.message;
    EXPECT_EQ(outcome.sheetsPrinted, 0);
}
