#pragma once

// Told of every change of a sale's lines, before and after, as a view of them needs it (SaleListModel).
class SaleObserver
{
public:
    virtual ~SaleObserver() = default;

    virtual void lineAboutToBeAdded(int row) = 0;
    virtual void lineAdded(int row) = 0;
    // The quantity or the amounts of these lines changed.
    virtual void linesChanged(int first, int last) = 0;
    virtual void lineAboutToBeRemoved(int row) = 0;
    virtual void lineRemoved(int row) = 0;
    virtual void aboutToBeCleared() = 0;
    virtual void cleared() = 0;
};
