#pragma once
// A motion set on paper: a title with the file label and the date, then one table
// row per step with each joint's position and speed.
#include <QString>
#include <memory>
#include <string>
#include <vector>

class QDate;
class QPrinter;
class QTextDocument;

namespace sequence {

// Step lines are read as a replayed step reads them: unreadable fields print as 0.
std::unique_ptr<QTextDocument> motionSetDocument(const QString &fileLabel, const QDate &date,
                                                 const std::vector<std::string> &stepLines);

void printMotionSet(QPrinter &printer, const QString &fileLabel, const QDate &date,
                    const std::vector<std::string> &stepLines);

} // namespace sequence
