// The dump command reads any file of the size of a bank image. The input is
// either a whole image (padded with zeros or cut to the size), or a patch laid
// over a compiled image so that the decoder meets plausible records.
// Each image is decoded once into the inspector's model, which the JSON, the
// table and the comparisons print or compare. Properties: the dump is JSON
// that parses; a compiled image, unchanged, has no problems; a pair compared
// with itself has no differences.

#include "compiler/bank_layout.h"
#include "compiler/compile_project.h"
#include "fuzz_support.h"
#include "inspector/bank_dump.h"
#include "inspector/dump_table.h"
#include "inspector/image_diff.h"
#include "json_check.h"

namespace {

const Bank_Images &Compiled()
{
    static const Bank_Images images = [] {
        const QString pargen = fuzz::Scratch(QStringLiteral("ParGen.xml"));
        const QString rules = fuzz::Scratch(QStringLiteral("LoRaWAN_SetAccess.xml"));
        const QString objects = fuzz::Scratch(QStringLiteral("BACnet_Slave_SetAccess.xml"));
        fuzz::Put_File(pargen, fuzz::Valid_ParGen());
        fuzz::Put_File(rules, fuzz::Valid_Rules());
        fuzz::Put_File(objects, fuzz::Valid_Objects());
        const Result<Bank_Images> result = Compile_Project(pargen, rules, objects);
        FUZZ_CHECK(result.Ok(), "%s", qPrintable(result.Problem()));
        return result.Value();
    }();
    return images;
}

// The compiled pair decoded once, as every comparison's "before".
const Decoded_Pair &Compiled_Pair()
{
    static const Decoded_Pair pair = [] {
        QStringList problems;
        return Decode_Pair(Compiled().bank1, Compiled().bank2, problems);
    }();
    return pair;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const bool bank2 = data[0] & 1;
    const bool patch = data[0] & 2;
    const qsizetype image_size = qsizetype(bank2 ? bank::Bank2_Size : bank::Bank1_Size);
    QByteArray image;
    const QByteArray rest = fuzz::Bytes(data + 1, size - 1);
    if (patch && rest.size() >= 3) {
        // Three bytes of offset, then the bytes to lay over the image there.
        image = bank2 ? Compiled().bank2 : Compiled().bank1;
        const qsizetype offset = ((quint8(rest[0]) << 16) | (quint8(rest[1]) << 8) | quint8(rest[2])) % image_size;
        const QByteArray bytes = rest.mid(3).left(image_size - offset);
        image.replace(offset, bytes.size(), bytes);
    } else {
        image = rest.left(image_size);
        image.append(image_size - image.size(), '\0');
    }
    FUZZ_CHECK(Bank_Kind_Of(image.size()) == (bank2 ? Bank_Kind::Bank2 : Bank_Kind::Bank1), "wrong kind");
    const bool compiled = image == (bank2 ? Compiled().bank2 : Compiled().bank1);
    // The image alone: decoded once, its JSON printed from what was decoded.
    QStringList problems;
    const QByteArray json = bank2 ? Dump_Json(Decode_Bank2(image, problems)) : Dump_Json(Decode_Bank1(image, problems));
    if (compiled)
        FUZZ_CHECK(problems.isEmpty(), "a compiled image is not sound: %s", qPrintable(problems.join(u'\n')));
    const qsizetype error = fuzz::Json_Check::First_Error(json);
    FUZZ_CHECK(error < 0, "the dump is no JSON: it breaks at %lld", qlonglong(error));
    // The same image beside its compiled partner: the pair and its table
    // are made whatever the counts say, and a compiled pair is sound.
    QStringList pair_problems;
    const Decoded_Pair pair = bank2 ? Decode_Pair(Compiled().bank1, image, pair_problems)
                                    : Decode_Pair(image, Compiled().bank2, pair_problems);
    if (problems.isEmpty() && compiled)
        FUZZ_CHECK(pair_problems.isEmpty(), "a compiled pair is not sound: %s", qPrintable(pair_problems.join(u'\n')));
    const qsizetype pair_error = fuzz::Json_Check::First_Error(Dump_Json(pair));
    FUZZ_CHECK(pair_error < 0, "the pair dump is no JSON: it breaks at %lld", qlonglong(pair_error));
    Dump_Table(pair);
    // The pair compared field by field: with itself it differs in nothing,
    // and beside the compiled pair it is read whatever it holds.
    FUZZ_CHECK(Field_Differences(pair, pair).isEmpty(), "a pair differs from itself");
    const QStringList lines = Field_Differences(Compiled_Pair(), pair);
    if (compiled)
        FUZZ_CHECK(lines.isEmpty() && pair_problems.isEmpty(), "the compiled pair differs from itself");
    return 0;
}
