// A price list: the bytes of a CSV file or an XLSX workbook, read as `prices apply` and the
// window's import read them; every price and calorie cell is then read as a number against a
// few board forms and written back in them.
#include "FuzzSupport.h"

#include "prices/PriceListFile.h"
#include "prices/PriceNumbers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const tavrin::PriceListReading reading = tavrin::ReadPriceListBytes(tavrin::fuzz::BytesOf(data, size));
    static const QStringList boardForms = {"5.99", "$1,234.50", "1,50 €", "1050", "Single"};
    for (const tavrin::PriceRow &row : reading.rows) {
        for (const QString &cell : {row.price, row.calories, row.priceAtExport}) {
            for (const QString &board : boardForms) {
                const std::optional<tavrin::NumberInText> form = tavrin::NumberOfText(board);
                if (!form)
                    continue;
                if (const std::optional<tavrin::NumberInText> number = tavrin::CellNumber(cell, *form))
                    (void)tavrin::WriteInForm(*number, *form, u'.');
            }
        }
    }
    return 0;
}
