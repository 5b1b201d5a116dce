// Shows one of the reporter's boxes with this program's texts and a sample report, for the
// screenshot script: "full", "details" (the full box with its details view on tab N, counted from
// 0), "simple" or "detail". The box stays up until it is closed.
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <string>

#include "crash/ui/details_view.h"
#include "crash/ui/failure_box_run.h"
#include "crash/ui/full_failure_box.h"
#include "crash/ui/small_failure_box.h"
#include "tests/crash/ui/sample_box_content.h"

namespace {

using namespace kestrix;

const char* const SampleReport =
    "date/time          : 2026-12-10, 14:42:07, 311ms\r\n"
    "computer name      : bench-7\r\n"
    "user name          : operator\r\n"
    "operating system   : Linux 6.1 x86_64\r\n"
    "program up time    : 2 minutes 14 seconds\r\n"
    "executable         : gatool\r\n"
    "exec. date/time    : 2026-12-10 09:12\r\n"
    "version            : 1.0.0.0\r\n"
    "exception class    : EConvertError\r\n"
    "exception message  : '1x' is not a valid floating point value.\r\n"
    "\r\n"
    "main thread ($3c1f):\r\n"
    "0045a1c2 +01a gatool             number_text.cpp     212 +3 ParseFloatText\r\n"
    "004411e0 +040 gatool             main_form_loads.cpp  88 +6 TMainForm.LoadGAClick\r\n"
    "7f3a10c4 +2c4 libQt6Widgets.so.6                            QAbstractButton::click\r\n"
    "0040f010 +010 gatool             main.cpp             31 +2 main\r\n"
    "\r\n"
    "worker ($3c22):\r\n"
    "7f3a0012 +012 libc.so.6                                     poll\r\n"
    "\r\n"
    "modules:\r\n"
    "00400000 gatool             1.0.0.0 /opt/gatool\r\n"
    "7f3a0000 libc.so.6          2.36    /usr/lib/x86_64-linux-gnu\r\n"
    "7f3a1000 libQt6Widgets.so.6 6.4.2   /usr/lib/x86_64-linux-gnu\r\n"
    "\r\n"
    "processes:\r\n"
    "0001 systemd normal /usr/lib/systemd\r\n"
    "3c1f gatool  normal /opt/gatool\r\n"
    "\r\n"
    "cpu registers:\r\n"
    "rax = 0000000000000000\r\n"
    "rbx = 00007ffd2c1e0a40\r\n"
    "rip = 000000000045a1c2\r\n"
    "\r\n"
    "stack dump:\r\n"
    "7ffd2c1e0a40  c2 a1 45 00 00 00 00 00  ..E.....\r\n"
    "7ffd2c1e0a48  e0 11 44 00 00 00 00 00  ..D.....\r\n"
    "\r\n"
    "disassembling:\r\n"
    "000000000045a1c0 0212 mov rax, [rbp-8]\r\n"
    "000000000045a1c2      call 000000000045b000 ; EConvertError.Create\r\n";

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const std::string view = argc > 1 ? argv[1] : "full";
    FailureBoxServices services;
    services.ReportText = [] { return std::string(SampleReport); };
    if (view == "simple" || view == "detail") {
        RunFailureBox(SampleBoxContent(view == "simple" ? ssSimpleBox : ssDetailBox), services);
        return 0;
    }
    if (view != "full" && view != "details") {
        std::fprintf(stderr, "usage: %s full|details N|simple|detail\n", argv[0]);
        return 64;
    }
    FailureBoxContent content = SampleBoxContent(ssFullBox);
    content.DetailsOpen = view == "details";
    const int tab = argc > 2 ? std::stoi(argv[2]) : 0;
    FullFailureBox box(content, services);
    if (box.Details() != nullptr) {
        box.Details()->setCurrentIndex(tab);
    }
    box.show();
    QObject::connect(&box, &QDialog::finished, &application, &QApplication::quit);
    return application.exec();
}
