#include "devices/jsonvariant.h"

#include <QVariantList>
#include <QVariantMap>

#include <nlohmann/json.hpp>

namespace qiantai {

nlohmann::json VariantToJson(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        return nullptr;
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return value.toLongLong();
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return value.toULongLong();
    case QMetaType::Double:
    case QMetaType::Float:
        return value.toDouble();
    case QMetaType::QVariantList:
    case QMetaType::QStringList: {
        nlohmann::json array = nlohmann::json::array();
        for (const QVariant& item : value.toList())
            array.push_back(VariantToJson(item));
        return array;
    }
    case QMetaType::QVariantMap: {
        nlohmann::json object = nlohmann::json::object();
        const QVariantMap map = value.toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            object[it.key().toStdString()] = VariantToJson(it.value());
        return object;
    }
    default:
        return value.toString().toStdString();
    }
}

QVariant JsonToVariant(const nlohmann::json& value)
{
    switch (value.type()) {
    case nlohmann::json::value_t::string:
        return QString::fromStdString(value.get<std::string>());
    case nlohmann::json::value_t::boolean:
        return value.get<bool>();
    case nlohmann::json::value_t::number_integer:
        return qlonglong(value.get<std::int64_t>());
    case nlohmann::json::value_t::number_unsigned:
        return qulonglong(value.get<std::uint64_t>());
    case nlohmann::json::value_t::number_float:
        return value.get<double>();
    case nlohmann::json::value_t::array: {
        QVariantList list;
        for (const auto& item : value)
            list.append(JsonToVariant(item));
        return list;
    }
    case nlohmann::json::value_t::object: {
        QVariantMap map;
        for (auto it = value.begin(); it != value.end(); ++it)
            map.insert(QString::fromStdString(it.key()), JsonToVariant(it.value()));
        return map;
    }
    default:
        return QVariant();
    }
}

} // namespace qiantai
