#pragma once

#include <QString>

#include <vector>

class TextTableModel;
enum class TopSellingRanking;

// One bar of the top sellers chart.
struct TopSeller
{
    QString label; // the product's name; its barcode when it has none or the name is listed twice
    QString barcode;
    double value = 0; // units or takings, as ranked
};

// The first rows (at most count) of the top selling list as it is shown (barcode, product, units, amount), with
// the column the list is ranked by read as a number (0 when a cell is not one). The labels are distinct.
std::vector<TopSeller> TopSellers(const TextTableModel& list, TopSellingRanking ranking, int count = 10);
