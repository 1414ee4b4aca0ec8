#include "favoritetexts.h"

#include <QCoreApplication>

namespace {
// Kept word for word, oddities included: users and their documentation know them.
const char *const EditPrompts[favoritetexts::Count] = {
    QT_TRANSLATE_NOOP("favoritetexts", "Enter the URL of your favorite website "),
    QT_TRANSLATE_NOOP("favoritetexts", "Enter the URL of your 2nd favorite website "),
    QT_TRANSLATE_NOOP("favoritetexts", "Enter the URL of your 3rd favorite website "),
    QT_TRANSLATE_NOOP("favoritetexts", "Enter the URL of your 4th favorite website "),
    QT_TRANSLATE_NOOP("favoritetexts", "Enter the URL of your 5th favorite website "),
    QT_TRANSLATE_NOOP("favoritetexts", "Enter the URL of your 6th favorite website "),
    QT_TRANSLATE_NOOP("favoritetexts", "Enter the URL of your 7th favorite website "),
    QT_TRANSLATE_NOOP("favoritetexts", "Enter the URL of your 8th favorite website "),
    QT_TRANSLATE_NOOP("favoritetexts", "Enter the URL of your 9th favorite website "),
    QT_TRANSLATE_NOOP("favoritetexts", "Enter the URL of your 10th favorite website "),
};

const char *const EditTitles[favoritetexts::Count] = {
    QT_TRANSLATE_NOOP("favoritetexts", "Enter the URL of your favorite website"),
    QT_TRANSLATE_NOOP("favoritetexts", "Enter the URL of your 2nd favorite website"),
    QT_TRANSLATE_NOOP("favoritetexts", "Enter the URL of your 3rdd favorite website"),
    QT_TRANSLATE_NOOP("favoritetexts", "Enter the URL of your 4th favorite website"),
    QT_TRANSLATE_NOOP("favoritetexts", "Enter the URL of your 5th favorite website"),
    QT_TRANSLATE_NOOP("favoritetexts", "Enter the URL of your 6th favorite website"),
    QT_TRANSLATE_NOOP("favoritetexts", "Enter the URL of your 7th favorite website"),
    QT_TRANSLATE_NOOP("favoritetexts", "Enter the URL of your 8th favorite website"),
    QT_TRANSLATE_NOOP("favoritetexts", "Enter the URL of your 9th favorite website"),
    QT_TRANSLATE_NOOP("favoritetexts", "Enter the URL of your 10th favorite website"),
};

const char *const AddedSentences[favoritetexts::Count] = {
    QT_TRANSLATE_NOOP("favoritetexts", " to favorite button 1.  To access the website in the future, simply click on button 1."),
    QT_TRANSLATE_NOOP("favoritetexts", " to favorite button 2.  To access the website in the future, simply click on button 2."),
    QT_TRANSLATE_NOOP("favoritetexts", " to favorite button 3.  To access the website in the future, simply click on button 3."),
    QT_TRANSLATE_NOOP("favoritetexts", " to favorite button 4.  To access the website in the future, simply click on button 4."),
    QT_TRANSLATE_NOOP("favoritetexts", " to favorite button 5.  To access the website in the future, simply click on button 5."),
    QT_TRANSLATE_NOOP("favoritetexts", " to favorite button 6.  To access the website in the future, simply click on button 6."),
    QT_TRANSLATE_NOOP("favoritetexts", " to favorite button 7.  To access the website in the future, simply click on button 7."),
    QT_TRANSLATE_NOOP("favoritetexts", " to favorite button 8.  To access the website in the future, simply click on button 8."),
    QT_TRANSLATE_NOOP("favoritetexts", " to favorite button 9.  To access the website in the future, simply click on button 9."),
    QT_TRANSLATE_NOOP("favoritetexts", " to favorite button 10.  To access the website in the future, simply click on button 10."),
};

QString row(const char *const (&table)[favoritetexts::Count], int n)
{
    if (n < 1 || n > favoritetexts::Count)
        return QString();
    return QCoreApplication::translate("favoritetexts", table[n - 1]);
}
} // namespace

namespace favoritetexts {

QString editPrompt(int n) { return row(EditPrompts, n); }
QString editTitle(int n) { return row(EditTitles, n); }
QString addedSentence(int n) { return row(AddedSentences, n); }

QString invitation(int n)
{
    return QCoreApplication::translate("favoritetexts",
                                       "Click here to add current website to favorite #%1")
        .arg(n);
}

} // namespace favoritetexts
