#include "favorites/favoritetexts.h"

namespace {
// Kept word for word, oddities included: users and their documentation know them.
const char *const EditPrompts[favoritetexts::Count] = {
    "Enter the URL of your favorite website ",
    "Enter the URL of your 2nd favorite website ",
    "Enter the URL of your 3rd favorite website ",
    "Enter the URL of your 4th favorite website ",
    "Enter the URL of your 5th favorite website ",
    "Enter the URL of your 6th favorite website ",
    "Enter the URL of your 7th favorite website ",
    "Enter the URL of your 8th favorite website ",
    "Enter the URL of your 9th favorite website ",
    "Enter the URL of your 10th favorite website ",
};

const char *const EditTitles[favoritetexts::Count] = {
    "Enter the URL of your favorite website",
    "Enter the URL of your 2nd favorite website",
    "Enter the URL of your 3rdd favorite website",
    "Enter the URL of your 4th favorite website",
    "Enter the URL of your 5th favorite website",
    "Enter the URL of your 6th favorite website",
    "Enter the URL of your 7th favorite website",
    "Enter the URL of your 8th favorite website",
    "Enter the URL of your 9th favorite website",
    "Enter the URL of your 10th favorite website",
};

std::string row(const char *const (&table)[favoritetexts::Count], int n)
{
    if (n < 1 || n > favoritetexts::Count)
        return std::string();
    return table[n - 1];
}
} // namespace

namespace favoritetexts {

std::string editPrompt(int n) { return row(EditPrompts, n); }
std::string editTitle(int n) { return row(EditTitles, n); }

std::string addedSentence(int n)
{
    if (n < 1 || n > Count)
        return std::string();
    const std::string number = std::to_string(n);
    // Two blanks after the first full stop, as the message has always read.
    return " to favorite button " + number
           + ".  To access the website in the future, simply click on button " + number + ".";
}

std::string invitation(int n)
{
    return "Click here to add current website to favorite #" + std::to_string(n);
}

} // namespace favoritetexts
