#include "passes.h"

#include "messages.h"

#include <bitset>

namespace blikon::mcs51 {

namespace {

// Generic CALL and JMP take the form that reaches in passes up to kFreePasses; until
// kGrowPasses a long form stays long; after that all become long, so that the addresses
// settle even when the forms would keep changing each other.
constexpr int kFreePasses = 6;
constexpr int kGrowPasses = 12;
constexpr int kMaxPasses = 40;

constexpr std::int64_t kMemoryEnd = 0x10000;

constexpr bool isExpression(Operand form)
{
    return form == Operand::Direct || form == Operand::Immediate || form == Operand::NotBit;
}

class Passes {
public:
    Passes(const Program& program, const AssemblerOptions& options)
        : program_(program), options_(options), symbols_(program.symbols.size()),
          long_(program.statements.size(), options.longJumps)
    {
    }

    PassResult run()
    {
        std::vector<std::int64_t> previous;
        bool settled = false;
        while (!settled && pass_ < kMaxPasses) {
            ++pass_;
            runPass();
            settled = pass_ >= 2 && !formsChanged_ && definitions_ == previous;
            previous.swap(definitions_);
        }
        if (!settled && !program_.statements.empty())  // on the first line, ahead of the others
            out_.errors.insert(
                out_.errors.begin(), {program_.statements.front().line, messages::notSettled(kMaxPasses)});
        // Lines that use a symbol whose definition failed stay quiet, as that line has the
        // error. Should no error be left to explain them (symbols that failed in an earlier
        // pass, through forward references), one more pass reports them as unresolved.
        if (out_.errors.empty() && program_.errors.empty() && quietUnknowns_) {
            trustBroken_ = false;
            ++pass_;
            runPass();
        }
        return std::move(out_);
    }

private:
    void runPass()
    {
        out_.stream.clear();
        out_.runs.clear();
        out_.errors.clear();
        out_.addresses.assign(program_.statements.size() + 1, -1);
        out_.streamAt.assign(program_.statements.size() + 1, 0);
        definitions_.clear();
        used_.reset();
        formsChanged_ = false;
        runOpen_ = false;
        missingEndReported_ = false;
        quietUnknowns_ = false;
        address_ = 0;
        const std::size_t count = program_.statements.size();
        std::size_t i = 0;
        for (; i < count; ++i) {
            out_.streamAt[i] = static_cast<std::uint32_t>(out_.stream.size());
            out_.addresses[i] = address_;
            if (!statement(i))
                break;
        }
        for (; i <= count; ++i)
            out_.streamAt[i] = static_cast<std::uint32_t>(out_.stream.size());
    }

    // Assembles statement i; false at END.
    bool statement(std::size_t i)
    {
        const Statement& s = program_.statements[i];
        line_ = s.line;
        if (s.label >= 0)
            define(s.label, Value{address_, true, false});
        const std::span<const Item> items(program_.items.data() + s.firstItem, s.itemCount);
        switch (s.kind) {
        case StatementKind::None:
            if (s.symbol >= 0)  // a definition in error: no value, and no more errors for it
                define(s.symbol, Value{0, false, false, true});
            break;
        case StatementKind::End: return false;
        case StatementKind::Org:
        case StatementKind::Ds:
            if (const auto value
                = settledValue(items[0], s.kind == StatementKind::Org ? 0xFFFF : kMemoryEnd, s.directive)) {
                address_ = s.kind == StatementKind::Org ? *value : address_ + *value;
                runOpen_ = false;
                if (address_ > kMemoryEnd)
                    error([&] { return messages::codePastEnd(); });
            }
            break;
        case StatementKind::Define: defineSymbol(s, items[0]); break;
        case StatementKind::Db: case StatementKind::Dw: data(s.kind == StatementKind::Dw, items); break;
        case StatementKind::Instruction: instruction(s.opcode, items); break;
        case StatementKind::Call: case StatementKind::Jump: generic(i, s.kind == StatementKind::Call, items[0]); break;
        }
        return true;
    }

    // Records the message `make` gives, unless enough errors are known already: the
    // message is not even made then, which keeps a pass over many bad lines fast.
    template <typename Make>
    void error(const Make& make)
    {
        if (out_.errors.size() <= kMaxErrors)
            out_.errors.push_back({line_, make()});
    }

    void define(std::int32_t id, const Value& value)
    {
        symbols_[id] = {value.number, pass_, value.known, value.forward, value.broken && trustBroken_};
        // Known values odd, unknown ones 0, or 2 when their definition failed: a change
        // of any of them needs another pass.
        definitions_.push_back(value.known ? value.number * 2 + 1 : symbols_[id].broken ? 2 : 0);
    }

    // The address of the current statement in the 64 KB the program counter wraps in.
    std::uint32_t address() const { return static_cast<std::uint32_t>(address_ & 0xFFFF); }

    Value evaluate(const Item& item)
    {
        const Value value = mcs51::evaluate(program_.expression(item), {symbols_, pass_, address_});
        quietUnknowns_ = quietUnknowns_ || (!value.known && value.fault == EvalFault::None && value.broken);
        return value;
    }

    void reportFault(const Value& value)
    {
        const auto name = [&] { return program_.symbols[static_cast<std::size_t>(value.faultDetail)].name; };
        switch (value.fault) {
        case EvalFault::None: break;
        case EvalFault::Undefined:
            // Frames without the program end call Citac many times: one error says it.
            if (isFrameLabel(name()) && program_.endLine == 0) {
                if (!missingEndReported_)
                    error([&] { return messages::missingProgramEnd(); });
                missingEndReported_ = true;
            } else {
                error([&] { return messages::undefinedName(name()); });
            }
            break;
        case EvalFault::Unresolved: error([&] { return messages::unresolvedSymbol(name()); }); break;
        case EvalFault::DivisionByZero: error([&] { return messages::divisionByZero(); }); break;
        case EvalFault::ByteRange: error([&] { return messages::valueOutOfRange(value.faultDetail, 0, 255); }); break;
        case EvalFault::NotBitAddressable: error([&] { return messages::notBitAddressable(value.faultDetail); }); break;
        case EvalFault::BitNumber: error([&] { return messages::valueOutOfRange(value.faultDetail, 0, 7); }); break;
        }
    }

    // The item's value if it is known and within [lowest, highest]; reports why not.
    std::optional<std::int64_t> checked(const Item& item, std::int64_t lowest, std::int64_t highest)
    {
        const Value value = evaluate(item);
        reportFault(value);
        if (!value.known)
            return std::nullopt;
        if (value.number < lowest || value.number > highest) {
            error([&] { return messages::valueOutOfRange(value.number, lowest, highest); });
            return std::nullopt;
        }
        return value.number;
    }

    // ORG and DS: a value known from the lines above, so that addresses never depend on
    // what comes after them.
    std::optional<std::int64_t> settledValue(const Item& item, std::int64_t highest, Directive directive)
    {
        const Value value = evaluate(item);
        if (value.known && value.forward) {
            error([&] { return messages::forwardReference(directiveName(directive)); });
            return std::nullopt;
        }
        return checked(item, 0, highest);
    }

    void defineSymbol(const Statement& s, const Item& item)
    {
        Value value = evaluate(item);
        reportFault(value);
        const std::int64_t highest = s.directive == Directive::Xdata || s.directive == Directive::Code ? 0xFFFF : 0xFF;
        const bool ranged = s.directive != Directive::Equ && s.directive != Directive::Set;
        if (value.known && ranged && (value.number < 0 || value.number > highest)) {
            error([&] { return messages::valueOutOfRange(value.number, 0, highest); });
            value.known = false;
            value.broken = true;
        }
        // An error reported here is enough: the lines using the symbol report nothing more.
        // A symbol not defined yet in the first pass is no error, one defined nowhere is.
        const bool definedNowhere = value.fault == EvalFault::Undefined
            && program_.symbols[static_cast<std::size_t>(value.faultDetail)].line == 0;
        value.broken = value.broken || definedNowhere || value.fault == EvalFault::DivisionByZero
                       || value.fault == EvalFault::ByteRange || value.fault == EvalFault::NotBitAddressable
                       || value.fault == EvalFault::BitNumber;
        define(s.symbol, value);
    }

    void data(bool words, std::span<const Item> items)
    {
        bytes_.clear();
        for (const Item& item : items) {
            if (item.form == Operand::None) {
                const std::string_view text = std::string_view(program_.strings).substr(item.first, item.count);
                bytes_.insert(bytes_.end(), text.begin(), text.end());
                continue;
            }
            const std::int64_t value = checked(item, words ? -32768 : -128, words ? 0xFFFF : 0xFF).value_or(0);
            if (words)
                bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
            bytes_.push_back(static_cast<std::uint8_t>(value));
        }
        emit(bytes_.data(), bytes_.size());
    }

    void instruction(std::uint8_t opcode, std::span<const Item> items)
    {
        std::array<std::int64_t, 3> values{};
        bool known = true;
        for (std::size_t k = 0; k < items.size(); ++k) {
            if (!isExpression(items[k].form))
                continue;
            const Value value = evaluate(items[k]);
            reportFault(value);
            known = known && value.known;
            values[k] = value.number;
        }
        const Instruction& ins = kOpcodes[opcode];
        if (!known) {
            const std::array<std::uint8_t, 3> placeholder{opcode, 0, 0};
            emit(placeholder.data(), ins.bytes);
            return;
        }
        const Encoded encoded = encode(opcode, address(), values);
        if (const auto& fault = encoded.fault) {
            const std::string_view name = mnemonicName(ins.mnemonic);
            switch (fault->kind) {
            case EncodeFault::Kind::Range:
                error([&] { return messages::valueOutOfRange(fault->value, fault->lowest, fault->highest); });
                break;
            case EncodeFault::Kind::Relative:
                error([&] { return messages::relativeOutOfRange(name, fault->value); });
                break;
            case EncodeFault::Kind::RelativeTarget:
                error([&] { return messages::relativeTargetOutside(name, fault->value); });
                break;
            case EncodeFault::Kind::Page:
                error([&] { return messages::pageOutOfRange(name, fault->value, fault->lowest); });
                break;
            }
        }
        emit(encoded.bytes.data(), encoded.size);
    }

    // CALL: ACALL or LCALL; JMP: SJMP, AJMP or LJMP.
    void generic(std::size_t i, bool call, const Item& target)
    {
        const Value value = evaluate(target);
        const bool wasLong = long_[i] != 0;
        bool isLong = wasLong;
        if (pass_ > kGrowPasses) {
            isLong = true;
        } else if (value.known && value.number >= 0 && value.number <= 0xFFFF && !options_.longJumps) {
            const bool reaches = pageReaches(address(), value.number) ||
                                 (!call && relativeReaches(address(), 2, value.number));
            isLong = pass_ <= kFreePasses ? !reaches : wasLong || !reaches;
        }
        long_[i] = isLong;
        formsChanged_ = formsChanged_ || isLong != wasLong;
        std::uint8_t opcode = call ? 0x11 : 0x01;  // ACALL, AJMP
        if (isLong)
            opcode = call ? 0x12 : 0x02;  // LCALL, LJMP
        else if (!call && value.known && relativeReaches(address(), 2, value.number))
            opcode = 0x80;  // SJMP
        instruction(opcode, std::span<const Item>(&target, 1));
    }

    // Appends bytes at the current address: a new segment after ORG or DS; nothing past
    // the end of memory; an error where they land on earlier code.
    void emit(const std::uint8_t* bytes, std::size_t count)
    {
        if (count == 0)
            return;
        if (!runOpen_) {
            const auto at = static_cast<std::uint32_t>(out_.stream.size());
            out_.runs.push_back({static_cast<std::uint32_t>(std::min(address_, kMemoryEnd)), at, at});
            runOpen_ = true;
            pastEndReported_ = overlapReported_ = false;
        }
        const std::size_t fit = address_ >= kMemoryEnd ? 0 : std::min<std::size_t>(count, kMemoryEnd - address_);
        if (fit < count && !pastEndReported_) {
            error([&] { return messages::codePastEnd(); });
            pastEndReported_ = true;
        }
        for (std::size_t k = 0; k < fit; ++k) {
            const auto at = static_cast<std::size_t>(address_) + k;
            if (used_[at] && !overlapReported_) {
                error([&] { return messages::overlap(startOfRunHolding(at)); });
                overlapReported_ = true;
            }
            used_[at] = true;
        }
        out_.stream.insert(out_.stream.end(), bytes, bytes + fit);
        out_.runs.back().end += static_cast<std::uint32_t>(fit);
        address_ += static_cast<std::int64_t>(count);
    }

    std::uint32_t startOfRunHolding(std::size_t address) const
    {
        for (std::size_t r = 0; r + 1 < out_.runs.size(); ++r) {
            const Run& run = out_.runs[r];
            if (address >= run.address && address < run.address + (run.end - run.begin))
                return run.address;
        }
        return 0;
    }

    const Program& program_;
    const AssemblerOptions& options_;
    std::vector<SymbolValue> symbols_;
    std::vector<std::uint8_t> long_;  // per statement: a generic CALL or JMP takes the long form
    std::vector<std::int64_t> definitions_;  // every value defined in this pass, in order
    std::vector<std::uint8_t> bytes_;
    std::bitset<kMemoryEnd> used_;
    PassResult out_;
    int pass_ = 0;
    int line_ = 0;
    std::int64_t address_ = 0;
    bool formsChanged_ = false;
    bool runOpen_ = false;
    bool pastEndReported_ = false;
    bool overlapReported_ = false;
    bool missingEndReported_ = false;
    bool quietUnknowns_ = false;  // a value was unknown because of a failed definition
    bool trustBroken_ = true;     // symbols that failed keep their users quiet
};

}  // namespace

PassResult runPasses(const Program& program, const AssemblerOptions& options)
{
    return Passes(program, options).run();
}

}  // namespace blikon::mcs51
