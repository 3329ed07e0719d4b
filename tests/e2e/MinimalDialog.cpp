// The baseline of the start-up timing: the smallest Qt Widgets program that shows a dialog with a
// title (argv[1]) and one Chinese label, so that it loads the same CJK font as the program.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QVBoxLayout>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle(QString::fromUtf8(argc > 1 ? argv[1] : "minimal"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QString::fromUtf8("最小的对话框"), &dialog));
    dialog.show();
    return app.exec();
}
