#pragma once

// A designer form set up on its owner. The owner is polished first, alone:
// its widgets are then polished by the style sheet when each is first shown,
// not with the whole window at its first show, so the many widgets of pages
// and messages not yet opened cost nothing before the first frame.
template <typename Form, typename Owner>
void setUpForm(Form *form, Owner *owner)
{
    owner->ensurePolished();
    form->setupUi(owner);
}

// The same for a form set up on its owner before the owner's other members
// are built, so that they can be built straight into the form's stacks. A
// page moved into a stack afterwards restyles its whole tree of widgets, and
// repolishes what was already shown.
template <typename Form, typename Owner>
Form *setUpForm(Owner *owner)
{
    auto *form = new Form;
    setUpForm(form, owner);
    return form;
}
