// A project document through the compiler: the first byte chooses which of
// the three documents the input replaces, the other two are a small valid
// configuration. Properties: the compilation gives both images at their sizes
// with a correct checksum, or a message and no image; the update step's
// uplink check and the data-link reading never fail; the images decode into
// JSON that parses.

#include "compiler/bank_layout.h"
#include "compiler/checksum.h"
#include "compiler/compile_project.h"
#include "compiler/config_checks.h"
#include "compiler/le_bytes.h"
#include "fuzz_support.h"
#include "inspector/bank_dump.h"
#include "json_check.h"
#include "params/pargen_document.h"
#include "tables/rule_document.h"

namespace {

void Check_Json(const QByteArray &json, const char *what)
{
    const qsizetype error = fuzz::Json_Check::First_Error(json);
    FUZZ_CHECK(error < 0, "the %s dump is no JSON: it breaks at %lld", what, qlonglong(error));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    static const QString files[3] = {fuzz::Scratch(QStringLiteral("ParGen.xml")),
                                     fuzz::Scratch(QStringLiteral("LoRaWAN_SetAccess.xml")),
                                     fuzz::Scratch(QStringLiteral("BACnet_Slave_SetAccess.xml"))};
    const int which = data[0] % 3;
    const QByteArray valid[3] = {fuzz::Valid_ParGen(data[0] / 3 % 2, data[0] / 6 % 2), fuzz::Valid_Rules(),
                                 fuzz::Valid_Objects()};
    for (int i = 0; i < 3; ++i)
        fuzz::Put_File(files[i], i == which ? fuzz::Bytes(data + 1, size - 1) : valid[i]);

    const Result<Bank_Images> result = Compile_Project(files[0], files[1], files[2]);
    if (result.Ok()) {
        FUZZ_CHECK(result.Problem().isEmpty(), "a compilation with a problem: %s", qPrintable(result.Problem()));
        FUZZ_CHECK(result->bank1.size() == qsizetype(bank::Bank1_Size) &&
                       result->bank2.size() == qsizetype(bank::Bank2_Size),
                   "images of %d and %d bytes", int(result->bank1.size()), int(result->bank2.size()));
        const std::span<const std::uint8_t> block(reinterpret_cast<const std::uint8_t *>(result->bank1.data()),
                                                  bank::Bank1_Size);
        FUZZ_CHECK(le::Get_U32(block, bank::Checksum) == Parameter_Checksum(block), "wrong checksum");
        Check_Json(Dump_Bank1(result->bank1), "bank 1");
        Check_Json(Dump_Bank2(result->bank2), "bank 2");
    } else {
        // A failed Result holds no images.
        FUZZ_CHECK(!result.Problem().isEmpty(), "a failed compilation without a message");
    }

    if (const Result<> checked = Check_Config_LoraWAN(Read_ParGen_Document(files[0]), Read_Rule_Document(files[1]));
        !checked)
        FUZZ_CHECK(!checked.Problem().isEmpty(), "the uplink check fails without a message");
    (void)Get_Type_BACnet(Read_ParGen_Document(files[0]));
    return 0;
}
