#pragma once

#include "tq_appcenter_export.h"

#include <QAbstractListModel>
#include <QVector>

// The suite's features and whether this build has them: a feature is there when the agent it
// needs is (its public header is found at build time), e.g. calls with <Voip_Agent.h>.
class TQ_APPCENTER_EXPORT AppCatalog : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Role {
        IdRole = Qt::UserRole + 1, // TqFeature id
        NameRole,
        SummaryRole,
        AvailableRole,
        AgentRole, // the agent header it needs
        StatusRole, // "coming later" for what this build lacks, else empty
    };

    struct Feature
    {
        QString id;
        QString name;
        QString summary;
        QString agentHeader;
        bool available = false;
    };

    explicit AppCatalog(QObject *parent = nullptr);

    // In the order shown.
    static QVector<Feature> features();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    QVector<Feature> m_features;
};
