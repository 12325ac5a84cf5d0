#include "views/core/FeedbackMail.h"

#include <gtest/gtest.h>

TEST(FeedbackMail, SubjectNamesTheVersionWithATwoDigitMinor)
{
    EXPECT_EQ(views::FeedbackSubject(2, 5, 7), "Feedback on Quorvel Config Tool Version 2.05.7");
    EXPECT_EQ(views::FeedbackSubject(1, 10, 0), "Feedback on Quorvel Config Tool Version 1.10.0");
}

TEST(FeedbackMail, LinkCarriesSubjectAndBodyWhole)
{
    const struct
    {
        const char* address;
        const char* subject;
        const char* body;
        const char* link;
    } cases[] = {
        {"help@x.example", "Hi there", "", "mailto:help@x.example?subject=Hi%20there"},
        {"help@x.example", "S", "a\r\nb", "mailto:help@x.example?subject=S&body=a%0Ab"},
        {"help@x.example", "S", "a\nb\rc", "mailto:help@x.example?subject=S&body=a%0Ab%0Ac"},
        {"mailto:help@x.example", "", "Q&A #2: 50% ?", "mailto:help@x.example?body=Q%26A%20%232%3A%2050%25%20%3F"},
        {"MAILTO:help@x.example", "", "", "MAILTO:help@x.example"},
        {"help@x.example", "", "Caf\xC3\xA9 = ok", "mailto:help@x.example?body=Caf%C3%A9%20%3D%20ok"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(views::FeedbackMailLink(c.address, c.subject, c.body), c.link) << c.body;
}
