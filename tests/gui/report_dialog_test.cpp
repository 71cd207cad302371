// SPDX-License-Identifier: GPL-3.0-or-later
// Extras "Bericht …": usable once both persons and the orbs are there; the dialog refuses an
// incomplete choice, saves every chosen format beside the chosen name, and its print preview
// paints the pages of the report onto the printer.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "base/cp1252.h"
#include "desktop/report_dialog.h"
#include "desktop/report_document.h"
#include "fixture.h"
#include "report/report_texts.h"

using namespace duoskop;
using namespace duoskop::test;

namespace {

// Runs `trigger`, which opens the report dialog modally, then `use` on it, then closes it.
bool with_dialog(const std::function<void()>& trigger, const std::function<void(TBericht&)>& use)
{
    bool shown = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = dynamic_cast<TBericht*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        shown = true;
        use(*dialog);
        dialog->reject();
    });
    trigger();
    QApplication::processEvents();
    return shown;
}

QString pdf_text(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace

class ReportDialogTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void usableOnceBothPersonsAndTheOrbsAreThere();
    void savesTheChosenFormatsAndRefusesAnIncompleteChoice();
    void printPreviewPaintsTheReport();

private:
    QTemporaryDir settings_dir_;
};

void ReportDialogTest::initTestCase()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_dir_.path());
}

void ReportDialogTest::usableOnceBothPersonsAndTheOrbsAreThere()
{
    Fixture fx;
    fx.start();
    QVERIFY(!fx.form->Bericht1->isEnabled());
    QCOMPARE(fx.form->Bericht1->text(), to_qt(texts::kMenuBericht1));
    fx.load1(make_chart(fx.drive, "MEIER.DAT", meier()));
    QVERIFY(!fx.form->Bericht1->isEnabled());
    fx.load2(make_chart(fx.drive, "SCHULZ.DAT", schulz()));
    QVERIFY(!fx.form->Bericht1->isEnabled());  // the orbs are still missing
    fx.type_orbs("1,0", "0,5");
    QVERIFY(fx.form->Bericht1->isEnabled());
}

void ReportDialogTest::savesTheChosenFormatsAndRefusesAnIncompleteChoice()
{
    Fixture fx;
    fx.ready();
    const std::string stem = (fx.drive / "Bericht Meier").string();
    const bool shown = with_dialog([&] { fx.form->Bericht1->trigger(); }, [&](TBericht& d) {
        // The half-sum evaluation is chosen but has no orb yet: a warning, nothing written.
        fx.desktop.save_paths.push_back(stem + ".pdf");
        QTest::mouseClick(d.Save, Qt::LeftButton);
        QCOMPARE(fx.desktop.take_texts(), std::vector<std::string>{std::string(texts::kBerichtHalfsumOrb)});
        QVERIFY(!std::filesystem::exists(stem + ".pdf"));
        fx.desktop.save_paths.clear();

        // No comparison chosen: a warning.
        for (QCheckBox* box : d.Vergleich) box->setChecked(false);
        QTest::mouseClick(d.Save, Qt::LeftButton);
        QCOMPARE(fx.desktop.take_texts(), std::vector<std::string>{std::string(texts::kBerichtNoComparison)});

        for (QCheckBox* box : d.Vergleich) box->setChecked(true);
        d.HalfsumOrb->setText(QStringLiteral("0,3"));
        d.Title->setText(QStringLiteral("F\u00FCr Erika"));
        d.Astrologer->setPlainText(QStringLiteral("Hans Wei\u00DF\nK\u00F6ln"));
        d.Odt->setChecked(true);
        d.Html->setChecked(true);
        fx.desktop.save_paths.push_back(stem + ".pdf");
        QTest::mouseClick(d.Save, Qt::LeftButton);
    });
    QVERIFY(shown);
    const auto texts_shown = fx.desktop.take_texts();
    QCOMPARE(texts_shown.size(), std::size_t{1});
    QVERIFY(texts_shown[0].rfind(std::string(texts::kBerichtSaved), 0) == 0);
    for (const char* extension : {".pdf", ".odt", ".html"})
        QVERIFY2(std::filesystem::file_size(stem + extension) > 1000, extension);
    const QString text = pdf_text(QString::fromStdString(stem + ".pdf"));
    for (const QString& expected : {QStringLiteral("F\u00FCr Erika"), QStringLiteral("Hans Wei\u00DF"),
                                    QStringLiteral("Meier"), QStringLiteral("Schulz"), QStringLiteral("Seite 1 von"),
                                    QStringLiteral("MC-AS-Halbsummen"), QStringLiteral("Halbsummen 0,3\u00B0")})
        QVERIFY2(text.contains(expected), qPrintable(expected));

    // A write-protected file of one format: no format is written, and the box says why.
    const auto before = std::filesystem::last_write_time(stem + ".pdf");
    std::filesystem::permissions(stem + ".odt", std::filesystem::perms::owner_read);
    with_dialog([&] { fx.form->Bericht1->trigger(); }, [&](TBericht& d) {
        d.HalfsumOrb->setText(QStringLiteral("0,3"));
        d.Odt->setChecked(true);
        fx.desktop.save_paths.push_back(stem + ".pdf");
        QTest::mouseClick(d.Save, Qt::LeftButton);
    });
    QCOMPARE(fx.desktop.take_texts().at(0), cp1252_of_file_name(stem + ".odt") + "\rDatei ist schreibgesch\xFCtzt");
    QVERIFY(std::filesystem::last_write_time(stem + ".pdf") == before);
}

void ReportDialogTest::printPreviewPaintsTheReport()
{
    Fixture fx;
    fx.ready();
    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("druck.pdf"));
    int pages = 0;
    std::size_t chapters = 0;
    const bool shown = with_dialog([&] { fx.form->Bericht1->trigger(); }, [&](TBericht& d) {
        d.Vergleich[3]->setChecked(false);  // no half-sum orb needed
        d.preview = [&](const ReportModel& model) {
            chapters = model.chapters.size();
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            pages = paint_report(printer, model);
        };
        QTest::mouseClick(d.Preview, Qt::LeftButton);
    });
    QVERIFY(shown);
    QCOMPARE(chapters, std::size_t{4});
    QVERIFY(pages >= 4);
    const QString text = pdf_text(pdf);
    QVERIFY(text.contains(QStringLiteral("Seite %1 von %1").arg(pages)));
    QVERIFY(!text.contains(QStringLiteral("MC-AS-Halbsummen")));
}

QTEST_MAIN(ReportDialogTest)
#include "report_dialog_test.moc"
