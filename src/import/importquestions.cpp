#include "import/importquestions.h"

QuestionFields FieldsOfUntagged(int option) {
    QuestionFields fields;
    fields.artistName = fields.albumName = fields.updateTags = option == kUntaggedOneAlbum;
    fields.collectionName = option == kUntaggedOneCollection;
    return fields;
}

QuestionFields FieldsOfUnknown(int option) {
    QuestionFields fields;
    fields.albumName = fields.updateTags = option == kUnknownOneAlbum;
    fields.collectionName = option == kUnknownOneCollection;
    return fields;
}

UntaggedAnswer UntaggedAnswerOnOk(int option, const UntaggedAnswer& fields, const UntaggedAnswer& answer) {
    const QuestionFields used = FieldsOfUntagged(option);
    UntaggedAnswer result = answer;
    result.option = option;
    if (used.artistName) {
        result.artistName = fields.artistName;
        result.albumName = fields.albumName;
    }
    if (used.collectionName) {
        result.collectionName = fields.collectionName;
    }
    result.updateTags = used.updateTags && fields.updateTags;
    return result;
}

UnknownAnswer UnknownAnswerOnOk(int option, const std::string& albumName, const std::string& collectionName,
                                bool updateTicked, const UnknownAnswer& answer) {
    const QuestionFields used = FieldsOfUnknown(option);
    UnknownAnswer result = answer;
    result.option = option;
    if (used.albumName) {
        result.name = albumName;
    } else if (used.collectionName) {
        result.name = collectionName;
    }
    result.updateTags = used.updateTags && updateTicked;
    return result;
}
