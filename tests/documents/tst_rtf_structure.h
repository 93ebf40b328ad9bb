#pragma once

#include <QObject>

class TestRtfStructure : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tableGrid_data();
    void tableGrid();
    void cellFormat_data();
    void cellFormat();
    void textOnShading_data();
    void textOnShading();
    void paragraphFormat_data();
    void paragraphFormat();
    void characterFormat_data();
    void characterFormat();
    void pageSetup_data();
    void pageSetup();
    void runningHeads();
    void pageFieldResult_data();
    void pageFieldResult();
    void pictures_data();
    void pictures();
    void insertKeepsPictures();
    void writerTable();
    void writerLetterhead();
    void writerParagraphs();
    void writerTrackedAndLandscape();
    void roundTrip_data();
    void roundTrip();
};
