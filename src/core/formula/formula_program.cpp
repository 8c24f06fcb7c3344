#include "core/formula/formula_program.h"

#include "core/formula/variant_ops.h"

namespace faultscope {

FormulaProgram::FormulaProgram() : stack_(kMaxOperands) {
    SetSource({});
}

void FormulaProgram::SetSource(std::string source) {
    source_ = std::move(source);
    sourceError_.reset();
    try {
        script_ = CompileScript(source_);
    } catch (const FormulaError& error) {
        script_ = {};
        sourceError_ = error;
    }
    vResult_.SetNull();
}

void FormulaProgram::Run() {
    vResult_.SetNull();
    if (sourceError_) {
        throw *sourceError_;
    }
    result_.SetNull();
    Execute();
    vResult_ = result_;
}

// A failure of an instruction is placed where the instruction comes from in the script.
void FormulaProgram::Execute() {
    std::size_t i = 0;
    try {
        Execute(i);
    } catch (const FormulaBoxError&) {
        throw;
    } catch (const FormulaError& error) {
        if (error.Offset() || i >= script_.offsets.size()) {
            throw;
        }
        throw FormulaError(error.what(), script_.offsets[i]);
    }
}

void FormulaProgram::Execute(std::size_t& i) {
    Variant* top = stack_.data();  // the first free slot
    for (; i < script_.code.size(); ++i) {
        const Instruction& instruction = script_.code[i];
        switch (instruction.code) {
            case OpCode::PushConstant:
                *top++ = script_.constants[instruction.index];
                break;
            case OpCode::LoadResult:
                *top++ = result_;
                break;
            case OpCode::StoreResult:
                result_ = *--top;
                break;
            case OpCode::Call:
                top -= instruction.argc;
                Call(instruction, top);
                ++top;
                break;
            case OpCode::Negate:
                ApplyNegate(top[-1]);
                break;
            case OpCode::Not:
                ApplyNot(top[-1]);
                break;
            case OpCode::Binary:
                --top;
                ApplyBinary(instruction.op, top[-1], *top);
                break;
        }
    }
}

// The answer replaces the first argument's slot once the callback has read the arguments.
void FormulaProgram::Call(const Instruction& instruction, Variant* args) {
    const std::string& name = script_.names[instruction.index];
    callValue_.SetEmpty();
    bool done = false;
    if (onGetValue_) {
        const FormulaArguments request{instruction.argc, {args, instruction.argc}};
        onGetValue_(this, name, callValue_, request, done);
    }
    if (!done) {
        throw FormulaError("Undeclared Identifier '" + name + "'");
    }
    *args = callValue_;
}

std::string FormulaScript(std::string_view formula) {
    std::string script(kFormulaScriptHead);
    script += formula;
    script += ";\rend;";
    return script;
}

}  // namespace faultscope
