#include "platform/qt/QtCommonDialog.h"

#include <QFileInfo>

namespace pendrel::qt {
namespace {

// "*.doc" -> "*.doc *.doC *.dOc ... *.DOC": every casing of the letters after the last
// wildcard, so the dialog offers REPORT.DOC on a file system that tells case apart.
QStringList EveryCasing(const QString& pattern) {
    const int fixedFrom = static_cast<int>(pattern.lastIndexOf(QLatin1Char('*'))) + 1;
    QStringList variants{pattern.left(fixedFrom)};
    for (int i = fixedFrom; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        const QChar lower = c.toLower(), upper = c.toUpper();
        QStringList next;
        for (const QString& v : variants) {
            next.append(v + lower);
            if (upper != lower) next.append(v + upper);
        }
        variants = next;
        if (variants.size() > 256) return {pattern};  // a long literal name: leave it be
    }
    return variants;
}

}  // namespace

QStringList FilterLines(const Text& filter) {
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList lines;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& p : parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts))
            patterns += EveryCasing(p.trimmed());
        // The dialog reads its patterns from the last brackets and, with the details hidden,
        // shows what comes before them: the description as given.
        lines.append(parts.at(i) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                     QLatin1Char(')'));
    }
    return lines;
}

Text JoinPicked(const QStringList& paths) {
    if (paths.isEmpty()) return {};
    if (paths.size() == 1) return paths.first().toStdString();
    Text joined = QFileInfo(paths.first()).absolutePath().toStdString();
    for (const QString& path : paths) {
        joined += '\0';
        joined += QFileInfo(path).fileName().toStdString();
    }
    return joined;
}

std::unique_ptr<QFileDialog> QtCommonDialog::MakeDialog() const {
    auto dialog = std::make_unique<QFileDialog>(owner_, QString::fromStdString(title_));
    dialog->setFileMode(QFileDialog::ExistingFiles);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    dialog->setNameFilters(FilterLines(filter_));
    dialog->setWindowModality(Qt::WindowModal);
    return dialog;
}

void QtCommonDialog::ShowOpen() {
    if (nextFileNames_) {
        fileName_ = JoinPicked(*nextFileNames_);
        nextFileNames_.reset();
        return;
    }
    auto dialog = MakeDialog();
    // A cancelled dialog yields the empty text; nothing from an earlier pick lingers.
    fileName_ = dialog->exec() == QDialog::Accepted ? JoinPicked(dialog->selectedFiles()) : Text();
}

}  // namespace pendrel::qt
