#pragma once
#include <QRect>
#include <cstdio>
#include <string>
#include <vector>

#include "analysis/charts.h"

class QPainter;

// The worm chart (cumulative runs by over, wickets marked) and the Manhattan
// chart (runs per over as bars, wickets marked) of the innings so far.
void paintWormChart(QPainter& painter, const QRect& area, const std::vector<InningsChart>& innings);
void paintManhattanChart(QPainter& painter, const QRect& area, const std::vector<InningsChart>& innings);

// Writes worm.png and manhattan.png of these innings to the two streams.
// Needs a QGuiApplication (the offscreen platform will do). Returns false and
// says why in *error on failure.
bool writeChartImages(const std::vector<InningsChart>& innings, std::FILE* worm, std::FILE* manhattan,
                      std::string* error);
