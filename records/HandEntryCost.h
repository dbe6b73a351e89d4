#pragma once
// The cost estimate of a connection entered or edited by hand: a walk from the start in steps of the
// tariff's unit length, each step charged in full at the zone in force where it begins. The hours of a
// zone mean what they mean to the live price reader (a whole-day zone "0 to 0", 24 as midnight); the day
// kind is its own ("ja" in any case, no holidays). Each record dialog owns one instance.
#include <QDate>
#include <QList>
#include <QString>
#include <QTime>
#include <QtGlobal>

class HandEntryCost {
public:
    struct Zone {
        quint8 from = 0;
        quint8 to = 0;
        float price = 0; // hundredths of the currency unit per minute
        bool weekend = false;
    };

    // Seconds of a duration text h:m:s (hours may exceed 23, each part optional): "45" is 45 hours.
    static double DurationToSeconds(const QString& text);

    // Reads the unit length ("Takt:" after its "/") and the zone blocks of Tarife/<fileName>. Both are
    // cleared first, and again when the load fails (missing file, a value out of range, a price that is
    // no number, a 256th block); a block cut short by the end of the file is left out.
    bool LoadTarifZones(const QString& fileName);

    // Price of one step beginning at this time of day on this date, hundredths of the currency unit.
    float GetZonePrice(const QTime& timeOfDay, const QDate& date) const;

    // Loads the tariff named by provider and tariff item ("M - Abend"; another kind letter keeps the
    // tariff loaded before) and walks the connection. Returns the cost in hundredths of the currency
    // unit, 0 on any failure. *units (the dialog's units field) receives the step count when the walk
    // ran with a unit length above 1 and is left alone otherwise.
    float CalculateCost(const QString& provider, const QString& tarifItem, const QDate& date, const QTime& start,
                        double seconds, QString* units = nullptr);
    // The same from the texts of the date ("dd.mm.yyyy") and start ("hh:mm:ss") fields; 0 when they
    // form no valid moment.
    float CalculateCost(const QString& provider, const QString& tarifItem, const QString& date, const QString& start,
                        double seconds, QString* units = nullptr);

    qint32 UnitLength = 0;
    QList<Zone> ZoneTable;
};
