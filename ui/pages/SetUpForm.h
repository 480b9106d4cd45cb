#pragma once

// A page's designer form, set up on its owner before the owner's other
// members are built, so that they can be built straight into the form's
// stacks. A page moved into a stack afterwards restyles its whole tree of
// widgets, and repolishes what was already shown: that was most of what
// building the window cost.
template <typename Form, typename Owner>
Form *setUpForm(Owner *owner)
{
    auto *form = new Form;
    form->setupUi(owner);
    return form;
}
