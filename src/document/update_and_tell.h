#pragma once

// Sets a member the sender's signal tells of, and emits the signal only when the value changes.
template<typename Sender, typename Value, typename Signal>
void updateAndTell(Sender *sender, Value &member, Value value, Signal changed)
{
    if (member == value)
        return;
    member = value;
    emit(sender->*changed)(value);
}
