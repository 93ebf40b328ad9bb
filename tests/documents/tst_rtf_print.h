#pragma once

#include <QObject>

class TestRtfPrint : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void pageOfTheDocument_data();
    void pageOfTheDocument();
    void headersAndFooters();
    void firstPageHeader();
    void lineOnceAcrossPages();
    void blankFormsRuled_data();
    void blankFormsRuled();
    void matchesWriter_data();
    void matchesWriter();
};
